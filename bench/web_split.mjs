// web_split.mjs FOLDER WIDTHxHEIGHT SECONDS PROGRAM...: where a browser frame goes, for each
// program's page and for the floor (clear_page.html) in headless Chromium at that size: a trace
// of SECONDS (Chromium's own, over the DevTools protocol) and timers wrapped round the page's
// callbacks and GL calls, each divided by the frames presented meanwhile. Prints a Markdown table
// of milliseconds a frame:
//   program and layer: the page's callbacks less their GL calls, on the page's main thread: the
//     model step, the draw step and the layer's transform of every vertex;
//   GL calls: the uploads and draw calls as the page's thread makes them, copying the frame's
//     vertices and indices for the GPU process;
//   page work: the two together, all the page's thread does for a frame;
//   MB to WebGL: the bytes the page uploads a frame;
//   WebGL: the GPU process carrying them out: the uploads and the draws through Mesa, up to the
//     rasteriser's threads;
//   copy into the page: the GPU process's compositing of the canvas into the page and its swap,
//     which waits for the rasteriser's threads to finish the frame;
//   GPU process busy: all its main thread did.
import {dirname} from 'node:path';
import {fileURLToPath} from 'node:url';

import {readScene, until, withPage} from '../tests/web/browser.mjs';

const [folder, size, seconds, ...programs] = process.argv.slice(2);
const [width, height] = size.split('x').map(Number);
const here = dirname(fileURLToPath(import.meta.url));
const kCategories = ['toplevel', 'gpu', 'viz', 'devtools.timeline'];

// Wraps the page's callbacks and GL calls with timers, and counts presented frames as
// web_frames.mjs does.
function instrument() {
  window.bench = {callbacks: 0, gl: 0, bytes: 0, presented: 0, counting: false, last: undefined};
  if (window.sculptGlut) {
    const run = sculptGlut.run;
    sculptGlut.run = (...args) => {
      const start = performance.now();
      try {
        return run(...args);
      } finally {
        bench.callbacks += performance.now() - start;
      }
    };
  }
  const gl = window.sculptGl ? sculptGl.gl : null;
  const time = (object, name, bytesAt) => {
    const call = object[name].bind(object);
    object[name] = (...args) => {
      const start = performance.now();
      if (bench.counting && bytesAt >= 0) bench.bytes += args[bytesAt]?.byteLength ?? 0;
      try {
        return call(...args);
      } finally {
        bench.gl += performance.now() - start;
      }
    };
  };
  if (gl) {
    time(gl, 'bufferData', 1);
    time(gl, 'bufferSubData', 2);
    time(gl, 'texImage2D', 8);
    time(gl, 'texSubImage2D', 8);
    time(gl, 'drawElements', -1);
  }
  const count = () => {
    const now = benchPicture();
    if (bench.counting && now !== bench.last) ++bench.presented;
    bench.last = now;
    requestAnimationFrame(count);
  };
  requestAnimationFrame(count);
}

async function split(pageFolder, file, picture) {
  return withPage(pageFolder, file, {width, height}, async (page, address) => {
    await page.goto(address);
    await page.evaluate(`window.readScene = ${readScene}; window.benchPicture = ${picture}`);
    await until(page, () => benchPicture() !== undefined);
    await new Promise((done) => setTimeout(done, 1000));
    await page.evaluate(instrument);
    const events = [];
    let complete;
    const completed = new Promise((done) => (complete = done));
    page.connection.listeners.push(({method, params}) => {
      if (method === 'Tracing.dataCollected') events.push(...params.value);
      if (method === 'Tracing.tracingComplete') complete();
    });
    await page.send('Tracing.start', {traceConfig: {includedCategories: kCategories},
                                      transferMode: 'ReportEvents'});
    await page.evaluate(() => (bench.counting = true));
    await new Promise((done) => setTimeout(done, seconds * 1000));
    const timed = await page.evaluate(() => ((bench.counting = false), bench));
    await page.send('Tracing.end');
    await Promise.race([completed, new Promise((_, fail) => setTimeout(fail, 60000,
                                                                       new Error('no trace')))]);
    const threads = {};
    for (const e of events) {
      if (e.ph === 'M' && e.name === 'thread_name') threads[`${e.pid}:${e.tid}`] = e.args.name;
    }
    const total = (thread, ...names) => events
        .filter((e) => e.ph === 'X' && threads[`${e.pid}:${e.tid}`] === thread &&
                       names.includes(e.name))
        .reduce((sum, e) => sum + (e.dur ?? 0), 0) / 1000;
    const frames = timed.presented;
    return {
      rate: frames / seconds,
      program: (timed.callbacks - timed.gl) / frames,
      gl: timed.gl / frames,
      bytes: timed.bytes / frames,
      webgl: total('CrGpuMain', 'WebGL') / frames,
      copy: total('CrGpuMain', 'SkiaOutputSurfaceImplOnGpu::FinishPaintCurrentFrame',
                  'SkiaOutputSurfaceImplOnGpu::SwapBuffers') / frames,
      busy: total('CrGpuMain', 'ThreadControllerImpl::RunTask') / frames,
    };
  });
}

const ms = (value) => value.toFixed(1);
console.log('| page | screen | frames/s | frame ms | program and layer ms | GL calls ms |' +
            ' page work ms | MB to WebGL | WebGL ms | copy into the page ms |' +
            ' GPU process busy ms |');
console.log('|---|---|---|---|---|---|---|---|---|---|---|');
const row = (name, s) => console.log(
    `| ${name} | ${width} × ${height} | ${s.rate.toFixed(1)} | ${ms(1000 / s.rate)} |` +
    ` ${ms(s.program)} | ${ms(s.gl)} | ${ms(s.program + s.gl)} | ${(s.bytes / 1e6).toFixed(2)} |` +
    ` ${ms(s.webgl)} | ${ms(s.copy)} | ${ms(s.busy)} |`);
for (const program of programs) {
  row(`\`${program}\``, await split(folder, `${program}.html`, () => readScene()?.cursorHeight));
}
row('floor: a cleared canvas', await split(here, 'clear_page.html', () => window.picture));
