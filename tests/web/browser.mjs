// The tests' browser, one of three engines behind one small interface: Chromium over the DevTools
// protocol (chromium.mjs), Firefox over Marionette and WebKit over WebDriver (webdriver.mjs),
// chosen by $SCULPT_BROWSER (chromium unless set). A page of the built folder served on 127.0.0.1;
// every wait bounded, and the browser ended by its own process id whatever happens.
//
// A page has: engine, touchScreen (whether touch() reaches the page as touches), goto(address),
// evaluate(code, ...args), setViewport({width, height}), emulatePhone({width, height, scale}),
// press(key), touch(type, points) and screenshot(); Chromium's also send(method, params) for the
// DevTools protocol itself.
import assert from 'node:assert/strict';
import {inflateSync} from 'node:zlib';

import {startServer} from '../../web/serve.mjs';

export const kWait = 60000;  // ms, the most any one wait in the browser tests takes
export const kEngine = process.env.SCULPT_BROWSER ?? 'chromium';

// Waits for a browser's process to exit after it was asked to, then ends it by its process id
// (and its group's, where it has one) if it has not within 5 s.
export async function ended(child, exited, group = false) {
  const gone = await Promise.race([exited.then(() => true),
                                   new Promise((done) => setTimeout(done, 5000, false))]);
  if (gone) return;
  try {
    process.kill(group ? -child.pid : child.pid, 'SIGKILL');
  } catch {
    // gone meanwhile
  }
  await exited;
}

// The answer to command `id` of a protocol, kept in `pending` until it comes: a promise that
// settles with it, or fails after kWait ms. The protocol's reader calls the entry's done or fail.
export function awaitAnswer(pending, id, name) {
  return new Promise((done, fail) => {
    const timer = setTimeout(() => {
      pending.delete(id);
      fail(new Error(`${name}: no answer in ${kWait} ms`));
    }, kWait);
    pending.set(id, {name, done: (r) => (clearTimeout(timer), done(r)),
                     fail: (e) => (clearTimeout(timer), fail(e))});
  });
}

// Runs `body(page, address, messages, server)` on a fresh browser's page of FOLDER/FILE at `size`,
// served by `server`, with everything the page writes to the console, throws or fails to load
// gathered in `messages` where the engine reports it (Chromium), null where it does not; without
// WebGL if `webgl` is false.
export async function withPage(folder, file, size, body, {webgl = true} = {}) {
  const server = await startServer(folder);
  try {
    const driver = await import(kEngine === 'chromium' ? './chromium.mjs' : './webdriver.mjs');
    const {page, messages, close} = await driver.open(size, {webgl, engine: kEngine});
    try {
      const address = `http://127.0.0.1:${server.address().port}/${file}`;
      return await body(page, address, messages, server);
    } finally {
      await close();
    }
  } finally {
    server.close();
  }
}

// Nothing reached the console, where the engine reports it.
export function assertQuiet(messages, what = 'nothing on the console') {
  if (messages !== null) assert.deepEqual(messages, [], what);
}

// Asks the page `predicate(...args)` every 100 ms until it gives something truthy, and returns
// that; fails after `timeout` ms, with what `describe`, run in the page, tells of it.
export async function until(page, predicate, args = [], {timeout = kWait, describe} = {}) {
  const deadline = Date.now() + timeout;
  for (;;) {
    const value = await page.evaluate(predicate, ...args);
    if (value) return value;
    if (Date.now() > deadline) {
      const seen = describe ? ` (${JSON.stringify(await page.evaluate(describe))})` : '';
      throw new Error(`waited ${timeout} ms for ${predicate.name || 'the page'}${seen}`);
    }
    await new Promise((done) => setTimeout(done, 100));
  }
}

// Waits until the page's canvas is the given box in CSS pixels, with its drawing area and GL
// viewport `scale` times that and the program told of that size.
export async function awaitCanvas(page, box, scale = 1) {
  await until(page, function canvasIsBox(box, scale) {
    const c = document.getElementById('canvas');
    const r = c.getBoundingClientRect();
    if (!sculptGl.gl) return false;  // the program has not made its window yet
    const v = sculptGl.gl.getParameter(sculptGl.gl.VIEWPORT);
    const [width, height] = [box.width * scale, box.height * scale];
    return r.left === box.x && r.top === box.y && r.width === box.width &&
           r.height === box.height && c.width === width && c.height === height &&
           v[2] === width && v[3] === height && readScene()?.viewWidth === width;
  }, [box, scale], {describe: () => {
    const c = document.getElementById('canvas');
    return {box: c.getBoundingClientRect(), drawing: [c.width, c.height],
            viewport: sculptGl.gl && Array.from(sculptGl.gl.getParameter(sculptGl.gl.VIEWPORT))};
  }});
}

// Opens a program's page at `address` and waits until the program runs: its Scene found and the
// field growing.
export async function openProgram(page, address) {
  await page.goto(address);
  await page.evaluate(`window.readScene = ${readScene}`);
  await until(page, function programRuns() {
    return readScene() !== null;
  });
  await awaitFrames(page);
}

// Waits for the model to take a few more steps: the cell under the cursor grows every frame.
export async function awaitFrames(page) {
  const before = (await page.evaluate(() => readScene())).cursorHeight;
  await until(page, function fieldGrows(before) {
    return readScene()?.cursorHeight > before + 0.25;
  }, [before]);
}

// How many colours the page shows: a drawn field shows many, a blank page or a bare clear one.
export async function colourCount(page) {
  const {pixels} = decodePng(await page.screenshot());
  const colours = new Set();
  for (let i = 0; i < pixels.length; i += 3)
    colours.add((pixels[i] << 16) | (pixels[i + 1] << 8) | pixels[i + 2]);
  return colours.size;
}

// The program's one Scene, found in its memory by what the window has told it: the size it was
// last given, then the 640 × 480 window at (100, 100) it saved on going full screen. Returns its
// fields, or null before the first reshape. Run in the page, as `window.readScene` once a test
// has put it there.
export function readScene() {
  const c = document.getElementById('canvas');
  if (typeof HEAP32 === 'undefined' || !HEAP32) return null;  // the module is still loading
  for (let i = 0; i + 7 + 256 * 256 + 5 < HEAP32.length; ++i) {
    if (HEAP32[i + 2] !== 100 || HEAP32[i + 3] !== 100 || HEAP32[i + 4] !== 480 ||
        HEAP32[i + 5] !== 640 || HEAP32[i] !== c.height || HEAP32[i + 1] !== c.width)
      continue;
    const after = i + 7 + 256 * 256;
    return {
      viewWidth: HEAP32[i + 1], viewHeight: HEAP32[i], address: i,
      cursorX: HEAP32[after], cursorY: HEAP32[after + 1],
      camX: HEAPF32[after + 2], camY: HEAPF32[after + 3],
      cursorHeight: HEAPF32[i + 7 + HEAP32[after] * 256 + HEAP32[after + 1]],
    };
  }
  return null;
}

// The pixels of a PNG from the browser's screenshot: 8 bits a channel, RGB or RGBA, in rows.
export function decodePng(buffer) {
  const width = buffer.readUInt32BE(16), height = buffer.readUInt32BE(20);
  const channels = {2: 3, 6: 4}[buffer[25]];
  if (buffer[24] !== 8 || !channels || buffer[28] !== 0) throw new Error('unexpected PNG layout');
  const parts = [];
  for (let at = 8; at < buffer.length;) {
    const length = buffer.readUInt32BE(at), type = buffer.toString('ascii', at + 4, at + 8);
    if (type === 'IDAT') parts.push(buffer.subarray(at + 8, at + 8 + length));
    at += length + 12;
  }
  const raw = inflateSync(Buffer.concat(parts));
  const stride = width * channels, out = Buffer.alloc(width * height * 3);
  let previous = Buffer.alloc(stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const row = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
    for (let i = 0; i < stride; ++i) {
      const a = i >= channels ? row[i - channels] : 0, b = previous[i];
      const c = i >= channels ? previous[i - channels] : 0;
      const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
      const predictor = [0, a, b, (a + b) >> 1, pa <= pb && pa <= pc ? a : pb <= pc ? b : c];
      row[i] = (row[i] + predictor[filter]) & 255;
    }
    for (let x = 0; x < width; ++x)
      row.copy(out, (y * width + x) * 3, x * channels, x * channels + 3);
    previous = row;
  }
  return {width, height, pixels: out};
}
