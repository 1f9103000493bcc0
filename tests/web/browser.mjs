// The tests' browser: Debian's Chromium, headless, with WebGL on Mesa's llvmpipe as on the
// desktop, driven over the DevTools protocol on a pipe of its own (no port, no package beyond
// node); a page of the built folder served on 127.0.0.1; every wait bounded, and the browser ended
// by its own process id whatever happens.
import {spawn} from 'node:child_process';
import {mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {inflateSync} from 'node:zlib';

import {startServer} from '../../web/serve.mjs';

export const kWait = 60000;  // ms, the most any one wait in the browser tests takes

// The keys the tests press, as the protocol describes a key to the page.
const kKeys = {
  ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, Escape: 27, F11: 122,
};

// One DevTools connection over the browser's pipe: commands answered by id, events to listeners.
class Connection {
  constructor(child) {
    this.out = child.stdio[3];
    this.pending = new Map();
    this.listeners = [];
    this.nextId = 1;
    let buffered = '';
    child.stdio[4].on('data', (chunk) => {
      buffered += chunk.toString('utf8');
      for (let end; (end = buffered.indexOf('\0')) >= 0;) {
        const message = JSON.parse(buffered.slice(0, end));
        buffered = buffered.slice(end + 1);
        const waiting = this.pending.get(message.id);
        if (waiting) {
          this.pending.delete(message.id);
          if (message.error) waiting.fail(new Error(`${waiting.method}: ${message.error.message}`));
          else waiting.done(message.result);
        } else if (message.method) {
          for (const listener of this.listeners) listener(message);
        }
      }
    });
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    return new Promise((done, fail) => {
      const timer = setTimeout(() => {
        this.pending.delete(id);
        fail(new Error(`${method}: no answer in ${kWait} ms`));
      }, kWait);
      this.pending.set(id, {method, done: (r) => (clearTimeout(timer), done(r)),
                            fail: (e) => (clearTimeout(timer), fail(e))});
      this.out.write(JSON.stringify({id, method, params, sessionId}) + '\0');
    });
  }

  // The next event `method` of the session, within kWait ms.
  event(method, sessionId) {
    return new Promise((done, fail) => {
      const listener = (message) => {
        if (message.method !== method || message.sessionId !== sessionId) return;
        this.listeners.splice(this.listeners.indexOf(listener), 1);
        clearTimeout(timer);
        done(message.params);
      };
      const timer = setTimeout(() => {
        this.listeners.splice(this.listeners.indexOf(listener), 1);
        fail(new Error(`${method}: not in ${kWait} ms`));
      }, kWait);
      this.listeners.push(listener);
    });
  }
}

// The few things a test does with a page, each through the protocol.
class Page {
  constructor(connection, sessionId, messages) {
    this.connection = connection;
    this.sessionId = sessionId;
    this.messages = messages;
  }

  send(method, params = {}) {
    return this.connection.send(method, params, this.sessionId);
  }

  async goto(address) {
    const loaded = this.connection.event('Page.loadEventFired', this.sessionId);
    await this.send('Page.navigate', {url: address});
    await loaded;
  }

  // Runs `code`, a function given `args` or a script, in the page, as if the user had acted, and
  // returns its value; an exception thrown there is thrown here.
  async evaluate(code, ...args) {
    const expression = typeof code === 'function' ?
        `(${code})(...${JSON.stringify(args)})` : code;
    const {result, exceptionDetails} = await this.send('Runtime.evaluate', {
      expression, returnByValue: true, awaitPromise: true, userGesture: true,
    });
    if (exceptionDetails) {
      throw new Error(`in the page: ${exceptionDetails.exception?.description ??
                                      exceptionDetails.text}`);
    }
    return result.value;
  }

  async setViewport({width, height}) {
    await this.send('Emulation.setDeviceMetricsOverride',
                    {width, height, deviceScaleFactor: 1, mobile: false});
  }

  // A phone's screen and touch: `width` × `height` CSS pixels at `scale` device pixels each, turned
  // as its width and height say, with a touch screen and no mouse.
  async emulatePhone({width, height, scale}) {
    const landscape = width > height;
    await this.send('Emulation.setDeviceMetricsOverride', {
      width, height, deviceScaleFactor: scale, mobile: true,
      screenOrientation: {type: landscape ? 'landscapePrimary' : 'portraitPrimary',
                          angle: landscape ? 90 : 0},
    });
    await this.send('Emulation.setTouchEmulationEnabled', {enabled: true, maxTouchPoints: 5});
  }

  // Fingers on the screen: `type` touchStart, touchMove or touchEnd, `points` [{x, y}] in CSS
  // pixels, one a finger.
  async touch(type, points = []) {
    await this.send('Input.dispatchTouchEvent', {
      type, touchPoints: points.map(({x, y}, id) => ({x, y, id, radiusX: 4, radiusY: 4})),
    });
  }

  // A key pressed and let go, as the keyboard would send it.
  async press(key) {
    const code = kKeys[key];
    const event = {key, code: key, windowsVirtualKeyCode: code, nativeVirtualKeyCode: code};
    await this.send('Input.dispatchKeyEvent', {type: 'rawKeyDown', ...event});
    await this.send('Input.dispatchKeyEvent', {type: 'keyUp', ...event});
  }

  async screenshot() {
    const {data} = await this.send('Page.captureScreenshot', {format: 'png'});
    return Buffer.from(data, 'base64');
  }
}

// Runs `body(page, address, messages, server)` on a fresh browser's page of FOLDER/FILE at `size`,
// served by `server`, with everything the page writes to the console, throws or fails to load
// gathered in `messages`; `flags` go to the browser as well.
export async function withPage(folder, file, size, body, {flags = []} = {}) {
  const server = await startServer(folder);
  const profile = mkdtempSync(join(tmpdir(), 'sculpt-chromium-'));
  const browser = spawn(process.env.SCULPT_CHROMIUM ?? '/usr/bin/chromium', [
    '--headless', '--remote-debugging-pipe', `--user-data-dir=${profile}`, '--no-sandbox',
    '--use-angle=gl-egl', '--ignore-gpu-blocklist', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--disable-extensions', '--no-first-run',
    '--no-default-browser-check', '--mute-audio', '--hide-scrollbars',
    '--disable-features=Translate,MediaRouter', `--window-size=${size.width},${size.height}`,
    ...flags, 'about:blank',
  ], {stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe']});
  const exited = new Promise((done) => browser.once('exit', done));
  try {
    const connection = new Connection(browser);
    const {targetId} = await connection.send('Target.createTarget', {url: 'about:blank'});
    const {sessionId} = await connection.send('Target.attachToTarget', {targetId, flatten: true});
    const messages = [];
    connection.listeners.push(({method, params, sessionId: from}) => {
      if (from !== sessionId) return;
      if (method === 'Runtime.consoleAPICalled') {
        const text = params.args.map((a) => a.value ?? a.description).join(' ');
        messages.push(`console.${params.type}: ${text}`);
      } else if (method === 'Runtime.exceptionThrown') {
        messages.push(`page error: ${params.exceptionDetails.exception?.description}`);
      } else if (method === 'Log.entryAdded') {
        messages.push(`${params.entry.source} ${params.entry.level}: ${params.entry.text}`);
      }
    });
    const page = new Page(connection, sessionId, messages);
    await Promise.all(['Page.enable', 'Runtime.enable', 'Log.enable'].map((m) => page.send(m)));
    await page.setViewport(size);
    const address = `http://127.0.0.1:${server.address().port}/${file}`;
    return await body(page, address, messages, server);
  } finally {
    browser.stdio[3].end();  // the browser ends when its pipe closes
    const ended = await Promise.race([exited.then(() => true),
                                      new Promise((done) => setTimeout(done, 5000, false))]);
    if (!ended) {
      try {
        process.kill(browser.pid, 'SIGKILL');
      } catch {
        // gone meanwhile
      }
      await exited;
    }
    rmSync(profile, {recursive: true, force: true});
    server.close();
  }
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
