// Debian's Chromium, headless, with WebGL on Mesa's llvmpipe as on the desktop, driven over the
// DevTools protocol on a pipe of its own: no port, no package beyond node. It alone of the three
// engines emulates a phone, reads a page's manifest and reports its console.
import {spawn} from 'node:child_process';
import {mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';

import {awaitAnswer, ended, kWait} from './browser.mjs';

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
          if (message.error) waiting.fail(new Error(`${waiting.name}: ${message.error.message}`));
          else waiting.done(message.result);
        } else if (message.method) {
          for (const listener of this.listeners) listener(message);
        }
      }
    });
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    const answer = awaitAnswer(this.pending, id, method);
    this.out.write(JSON.stringify({id, method, params, sessionId}) + '\0');
    return answer;
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
    this.engine = 'chromium';
    this.touchScreen = true;
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
  // as its width and height say, with a touch screen and no mouse. Returns the scale.
  async emulatePhone({width, height, scale}) {
    const landscape = width > height;
    await this.send('Emulation.setDeviceMetricsOverride', {
      width, height, deviceScaleFactor: scale, mobile: true,
      screenOrientation: {type: landscape ? 'landscapePrimary' : 'portraitPrimary',
                          angle: landscape ? 90 : 0},
    });
    await this.send('Emulation.setTouchEmulationEnabled', {enabled: true, maxTouchPoints: 5});
    return scale;
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

// A fresh browser with a page at `size`, everything the page writes to the console, throws or
// fails to load gathered in `messages`; without WebGL if `webgl` is false.
export async function open(size, {webgl = true} = {}) {
  const profile = mkdtempSync(join(tmpdir(), 'sculpt-chromium-'));
  const browser = spawn(process.env.SCULPT_CHROMIUM ?? '/usr/bin/chromium', [
    '--headless', '--remote-debugging-pipe', `--user-data-dir=${profile}`, '--no-sandbox',
    '--use-angle=gl-egl', '--ignore-gpu-blocklist', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--disable-extensions', '--no-first-run',
    '--no-default-browser-check', '--mute-audio', '--hide-scrollbars',
    '--disable-features=Translate,MediaRouter', `--window-size=${size.width},${size.height}`,
    ...(webgl ? [] : ['--disable-webgl']), 'about:blank',
  ], {stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe']});
  const exited = new Promise((done) => browser.once('exit', done));
  const close = async () => {
    browser.stdio[3].end();  // the browser ends when its pipe closes
    await ended(browser, exited);
    rmSync(profile, {recursive: true, force: true});
  };
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
    return {page, messages, close};
  } catch (e) {
    await close();
    throw e;
  }
}
