// picture-test.mjs FOLDER PROGRAM OUTDIR [VARIANT]: the browser build's picture of
// PROGRAM at the fixed frame against the Linux build's in OUTDIR/PROGRAM-linux.ppm. The measure:
// the share of pixels that differ by more than kLevels in any channel, within the program's bound;
// the mean difference is reported beside it. The browser's picture is written as
// OUTDIR/PROGRAM-web.ppm, or PROGRAM-firefox.ppm or PROGRAM-webkit.ppm. The page widens smoothed
// lines on the GPU from their ends, and a frame of sculpt_lines hands WebGL no more than a line
// strip's vertices; in Chromium on llvmpipe every frame goes in pieces, each flushed as it is
// drawn, and elsewhere whole. The VARIANT (Chromium) hides what the page asks of the context: `without-float-textures` the float
// textures that the widening needs, so that the layer's own quads draw instead;
// `renderer-unnamed` the renderer's name, as a GPU may be, so that each frame goes whole.
import assert from 'node:assert/strict';
import {readFileSync, writeFileSync} from 'node:fs';

import {kEngine, until, withPage} from './browser.mjs';

const [folder, program, out, variant] = process.argv.slice(2);
const onTheGpu = variant !== 'without-float-textures';
// The extension each variant hides from the page.
const kHidden = {'without-float-textures': 'OES_texture_float',
                 'renderer-unnamed': 'WEBGL_debug_renderer_info'};
// Only Chromium names llvmpipe to the page and takes pieces; in WebKitGTK, which names no
// renderer, and in Firefox, frames go whole, as on a GPU.
const inPieces = variant !== 'renderer-unnamed' && kEngine === 'chromium';
// Bytes a frame may hand WebGL: a plain line strip's vertices, 65,536 of 20 bytes, and a tenth.
const kFrameBytes = 65536 * 20 * 1.1;
// Indices the page may draw before it flushes them to the GPU: 2,048 triangles.
const kPieceIndices = 6144;
const kLevels = 24;  // of 255
// Shares of pixels allowed past kLevels. WebGL has no line smoothing, so the browser's lines are
// aliased where Mesa's are smoothed, and their edges differ most; the surfaces differ only where
// the two rasterisers round an edge differently.
const kBounds = {sculpt_lines: 0.005, sculpt_grey: 0.005, sculpt_glow: 0.005, sculpt_bands: 0.01};

function readPpm(path) {
  const data = readFileSync(path);
  const header = data.toString('latin1', 0, 64).match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  assert.ok(header, `${path} is a binary PPM`);
  return {width: Number(header[1]), height: Number(header[2]),
          pixels: data.subarray(header[0].length)};
}

const linux = readPpm(`${out}/${program}-linux.ppm`);
const web = await withPage(folder, `${program}_fixed.html`, {width: linux.width,
                                                             height: linux.height},
                           async (page, address) => {
  if (variant) {
    assert.equal(kEngine, 'chromium', 'only Chromium runs a script before the page');
    const hidden = kHidden[variant];
    assert.ok(hidden, `${variant} is a variant`);
    await page.send('Page.addScriptToEvaluateOnNewDocument', {source: `
      const getExtension = WebGLRenderingContext.prototype.getExtension;
      WebGLRenderingContext.prototype.getExtension = function(name) {
        return name === '${hidden}' ? null : getExtension.call(this, name);
      };`});
  }
  await page.goto(address);
  // What the page hands WebGL a frame, one clear a frame, counted from the first frames on.
  await until(page, function contextMade() {
    return Boolean(window.sculptGl?.gl);
  });
  await page.evaluate(() => {
    const gl = window.sculptGl.gl, counts = window.handed = {bytes: 0, frames: []};
    const size = (data) => (data && typeof data === 'object' ? data.byteLength : 0);
    const count = (name, at) => {
      const call = gl[name].bind(gl);
      gl[name] = (...args) => {
        counts.bytes += size(args[at < 0 ? args.length + at : at]);
        return call(...args);
      };
    };
    count('bufferData', 1);
    count('bufferSubData', 2);
    count('texImage2D', -1);
    count('texSubImage2D', -1);
    // The indices drawn since the last flush, and the most they reached.
    counts.unflushed = counts.mostUnflushed = counts.flushes = 0;
    const drawElements = gl.drawElements.bind(gl), flush = gl.flush.bind(gl);
    gl.drawElements = (mode, indices, ...rest) => {
      counts.unflushed += indices;
      counts.mostUnflushed = Math.max(counts.mostUnflushed, counts.unflushed);
      return drawElements(mode, indices, ...rest);
    };
    gl.flush = () => {
      counts.unflushed = 0;
      ++counts.flushes;
      return flush();
    };
    const clear = gl.clear.bind(gl);
    gl.clear = (mask) => {
      counts.frames.push(counts.bytes);
      return clear(mask);
    };
  });
  await until(page, function pictureKept() {
    return window.sculptPicture !== undefined;
  });
  assert.equal(await page.evaluate(() => Boolean(window.sculptGl.segments)), onTheGpu,
               onTheGpu ? 'the GPU widens smoothed lines' : 'float textures hidden');
  // The most any frame handed over once the first few, which fill the buffers, are past.
  const frames = await page.evaluate(() => window.handed.frames);
  assert.ok(frames.length >= 10, `frames counted: ${frames.length}`);
  const most = Math.max(...frames.slice(1).map((bytes, i) => bytes - frames[i]).slice(5));
  console.log(`${program}: at most ${(most / 1e6).toFixed(2)} MB handed to WebGL a frame`);
  if (onTheGpu && program === 'sculpt_lines') {
    assert.ok(most <= kFrameBytes, 'no more than a plain line strip a frame');
  }
  // On llvmpipe, named, a frame goes in pieces, each flushed as it is drawn, never whole;
  // elsewhere whole and unflushed.
  const {mostUnflushed, flushes} = await page.evaluate(() => window.handed);
  if (inPieces) {
    assert.ok(mostUnflushed > 0 && mostUnflushed <= kPieceIndices,
              `${mostUnflushed} indices drawn before a flush, against ${kPieceIndices}`);
  } else {
    assert.equal(flushes, 0, 'no flush where the renderer may be a GPU');
    assert.ok(mostUnflushed > kPieceIndices, `${mostUnflushed} indices drawn, a frame whole`);
  }
  const picture = await page.evaluate(() => {
    const p = window.sculptPicture;
    let text = '';
    for (let i = 0; i < p.pixels.length; i += 0x8000)
      text += String.fromCharCode.apply(null, p.pixels.subarray(i, i + 0x8000));
    return {width: p.width, height: p.height, pixels: btoa(text)};
  });
  return {...picture, pixels: Buffer.from(picture.pixels, 'base64')};
});
writeFileSync(`${out}/${program}-${kEngine === 'chromium' ? 'web' : kEngine}.ppm`, Buffer.concat([
  Buffer.from(`P6\n${web.width} ${web.height}\n255\n`), web.pixels]));

assert.deepEqual([web.width, web.height], [linux.width, linux.height], 'the same size');
let past = 0, total = 0;
for (let i = 0; i < linux.pixels.length; i += 3) {
  let most = 0;
  for (let c = 0; c < 3; ++c) {
    const d = Math.abs(linux.pixels[i + c] - web.pixels[i + c]);
    total += d;
    most = Math.max(most, d);
  }
  if (most > kLevels) ++past;
}
const n = linux.pixels.length / 3;
const share = past / n, mean = total / linux.pixels.length;
console.log(`${program}: ${(100 * share).toFixed(2)} % of pixels differ by more than ${kLevels}` +
            ` (bound ${100 * kBounds[program]} %); mean difference ${mean.toFixed(2)} levels`);
assert.ok(share <= kBounds[program], 'the browser draws what Linux draws');
