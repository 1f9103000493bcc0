// Firefox ESR and WebKit (WebKitGTK's MiniBrowser) driven by W3C WebDriver commands: Firefox's
// over Marionette, its own protocol on a local TCP port; WebKit's over plain HTTP to
// WebKitWebDriver, spoken with fetch. Both draw with Mesa on the X display they are given. Neither
// reports a page's console here, emulates a phone or reads a manifest.
import {spawn} from 'node:child_process';
import {existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {createServer, connect} from 'node:net';
import {tmpdir} from 'node:os';
import {join} from 'node:path';

import {awaitAnswer, ended, kWait} from './browser.mjs';

// Each command the tests use: its HTTP method and path under the session, and its Marionette name.
const kCommands = {
  navigate: ['POST', 'url', 'WebDriver:Navigate'],
  execute: ['POST', 'execute/sync', 'WebDriver:ExecuteScript'],
  actions: ['POST', 'actions', 'WebDriver:PerformActions'],
  screenshot: ['GET', 'screenshot', 'WebDriver:TakeScreenshot'],
  getRect: ['GET', 'window/rect', 'WebDriver:GetWindowRect'],
  setRect: ['POST', 'window/rect', 'WebDriver:SetWindowRect'],
  timeouts: ['POST', 'timeouts', 'WebDriver:SetTimeouts'],
};
// The keys the tests press, as WebDriver names them.
const kKeys = {
  ArrowLeft: '\uE012', ArrowUp: '\uE013', ArrowRight: '\uE014', ArrowDown: '\uE015',
  Escape: '\uE00C', F11: '\uE03B',
};
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// Marionette: messages `length:json`, a command [0, id, name, params] answered by
// [1, id, error, result].
class Marionette {
  constructor(socket) {
    this.socket = socket;
    this.pending = new Map();
    this.nextId = 1;
    let buffered = Buffer.alloc(0);
    socket.on('data', (chunk) => {
      buffered = Buffer.concat([buffered, chunk]);
      for (;;) {
        const colon = buffered.indexOf(':');
        if (colon < 0) break;
        const length = Number(buffered.toString('latin1', 0, colon));
        if (buffered.length < colon + 1 + length) break;
        const message = JSON.parse(buffered.toString('utf8', colon + 1, colon + 1 + length));
        buffered = buffered.subarray(colon + 1 + length);
        const waiting = Array.isArray(message) && this.pending.get(message[1]);
        if (!waiting) continue;  // the greeting
        this.pending.delete(message[1]);
        if (message[2]) waiting.fail(new Error(`${waiting.name}: ${message[2].message}`));
        else waiting.done(message[3] && 'value' in message[3] ? message[3].value : message[3]);
      }
    });
  }

  send(name, params = {}) {
    const id = this.nextId++;
    const answer = awaitAnswer(this.pending, id, name);
    const text = JSON.stringify([0, id, name, params]);
    this.socket.write(`${Buffer.byteLength(text)}:${text}`);
    return answer;
  }

  command(which, params) {
    return this.send(kCommands[which][2], params);
  }
}

// WebKitWebDriver: each command an HTTP request under /session/ID, its answer {value}.
class Http {
  constructor(port) {
    this.base = `http://127.0.0.1:${port}`;
  }

  async request(method, path, body) {
    const response = await fetch(`${this.base}${path}`, {
      method, headers: {'Content-Type': 'application/json'}, signal: AbortSignal.timeout(kWait),
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    const {value} = await response.json();
    if (value?.error) throw new Error(`${method} ${path}: ${value.error}: ${value.message}`);
    return value;
  }

  command(which, params) {
    const [method, path] = kCommands[which];
    return this.request(method, `/session/${this.session}/${path}`,
                        method === 'GET' ? undefined : params);
  }
}

class Page {
  constructor(engine, transport) {
    this.engine = engine;
    this.transport = transport;
    this.fingers = 0;  // fingers down on the screen
    // Firefox sends WebDriver's touch pointers to the page as touches; WebKitGTK's driver sends
    // them as a mouse, so a page there is never touched.
    this.touchScreen = engine === 'firefox';
  }

  // A phone's screen as near as a desktop window comes: its size in CSS pixels, at the display's
  // own scale, which is returned; touches only as touch() sends them.
  async emulatePhone({width, height}) {
    await this.setViewport({width, height});
    return this.evaluate(() => devicePixelRatio);
  }

  async goto(address) {
    await this.transport.command('navigate', {url: address});
  }

  // Runs `code`, a function given `args` or a script, in the page and returns its value, a
  // promise's once settled; an exception thrown there is thrown here.
  async evaluate(code, ...args) {
    const script = typeof code === 'function' ? `return (${code})(...arguments);` :
        'const v = (0, eval)(arguments[0]); return typeof v === "function" ? null : v;';
    try {
      return await this.transport.command('execute',
                                          {script, args: typeof code === 'function' ? args : [code]});
    } catch (e) {
      throw new Error(`in the page: ${e.message}`);
    }
  }

  // The page's own size, by sizing the window around it.
  async setViewport({width, height}) {
    for (let attempt = 0; attempt < 5; ++attempt) {
      const [innerWidth, innerHeight] = await this.evaluate(() => [innerWidth, innerHeight]);
      if (innerWidth === width && innerHeight === height) return;
      const rect = await this.transport.command('getRect');
      await this.transport.command('setRect', {width: rect.width + width - innerWidth,
                                               height: rect.height + height - innerHeight});
      await sleep(200);
    }
    throw new Error(`the window would not give a page of ${width} × ${height}`);
  }

  async press(key) {
    await this.transport.command('actions', {actions: [{type: 'key', id: 'keyboard', actions: [
      {type: 'keyDown', value: kKeys[key]}, {type: 'keyUp', value: kKeys[key]}]}]});
  }

  // Fingers on the screen, as WebDriver's touch pointers: `type` touchStart, touchMove or
  // touchEnd, `points` [{x, y}] in CSS pixels, one a finger.
  async touch(type, points = []) {
    const finger = (id, actions) => ({type: 'pointer', id: `finger${id}`,
                                      parameters: {pointerType: 'touch'}, actions});
    const move = ({x, y}) => ({type: 'pointerMove', x: Math.round(x), y: Math.round(y),
                               origin: 'viewport', duration: 0});
    let actions;
    if (type === 'touchEnd') {
      actions = Array.from({length: this.fingers},
                           (_, id) => finger(id, [{type: 'pointerUp', button: 0}]));
      this.fingers = 0;
    } else {
      actions = points.map((point, id) => finger(id, type === 'touchStart' ?
          [move(point), {type: 'pointerDown', button: 0}] : [move(point)]));
      if (type === 'touchStart') this.fingers = points.length;
    }
    await this.transport.command('actions', {actions});
  }

  async screenshot() {
    return Buffer.from(await this.transport.command('screenshot', {full: false}), 'base64');
  }
}

// A port no one listens on now.
async function freePort() {
  const server = createServer();
  await new Promise((done) => server.listen(0, '127.0.0.1', done));
  const {port} = server.address();
  await new Promise((done) => server.close(done));
  return port;
}

// Polls `ready()` every 100 ms until it gives something other than undefined, for at most kWait.
async function poll(what, ready) {
  for (const deadline = Date.now() + kWait; Date.now() < deadline; await sleep(100)) {
    const value = await ready();
    if (value !== undefined) return value;
  }
  throw new Error(`${what}: not in ${kWait} ms`);
}

// Firefox with a profile of its own that asks nothing on start and reaches for no network, and
// with WebGL off if asked.
async function openFirefox(size, webgl) {
  const profile = mkdtempSync(join(tmpdir(), 'sculpt-firefox-'));
  const prefs = {
    'marionette.port': 0, 'browser.shell.checkDefaultBrowser': false,
    'browser.startup.homepage_override.mstone': 'ignore', 'app.normandy.enabled': false,
    'datareporting.policy.dataSubmissionEnabled': false, 'toolkit.telemetry.enabled': false,
    'browser.aboutwelcome.enabled': false, 'messaging-system.rsexperimentloader.enabled': false,
    'full-screen-api.warning.timeout': 0, 'full-screen-api.transition-duration.enter': '0 0',
    'full-screen-api.transition-duration.leave': '0 0', 'webgl.disabled': !webgl,
  };
  writeFileSync(join(profile, 'user.js'), Object.entries(prefs)
      .map(([k, v]) => `user_pref(${JSON.stringify(k)}, ${JSON.stringify(v)});\n`).join(''));
  const browser = spawn(process.env.SCULPT_FIREFOX ?? '/usr/bin/firefox-esr', [
    '--marionette', '--no-remote', '--new-instance', '--profile', profile,
    `--width=${size.width}`, `--height=${size.height}`, 'about:blank',
  ], {stdio: 'ignore', detached: true, env: {...process.env, MOZ_CRASHREPORTER_DISABLE: '1'}});
  const exited = new Promise((done) => browser.once('exit', done));
  let transport;
  const close = async () => {
    await transport?.send('Marionette:Quit', {flags: ['eForceQuit']}).catch(() => {});
    transport?.socket.destroy();
    await ended(browser, exited, true);
    rmSync(profile, {recursive: true, force: true});
  };
  try {
    // Firefox names the port it listens on in the profile once it listens.
    const portFile = join(profile, 'MarionetteActivePort');
    const port = await poll('Marionette', () =>
      existsSync(portFile) ? Number(readFileSync(portFile, 'utf8')) || undefined : undefined);
    const socket = connect(port, '127.0.0.1');
    await new Promise((done, fail) => socket.once('connect', done).once('error', fail));
    transport = new Marionette(socket);
    await transport.send('WebDriver:NewSession', {capabilities: {}});
    return {transport, close};
  } catch (e) {
    await close();
    throw e;
  }
}

// WebKitWebDriver on a free port, starting MiniBrowser for automation; WebGL off if asked.
async function openWebKit(webgl) {
  const port = await freePort();
  const driver = spawn(process.env.SCULPT_WEBKIT_DRIVER ?? '/usr/bin/WebKitWebDriver',
                       [`--port=${port}`], {stdio: 'ignore', detached: true});
  const exited = new Promise((done) => driver.once('exit', done));
  const transport = new Http(port);
  const close = async () => {
    if (transport.session) {
      await transport.request('DELETE', `/session/${transport.session}`).catch(() => {});
    }
    try {
      process.kill(-driver.pid, 'SIGTERM');
    } catch {
      // gone meanwhile
    }
    await ended(driver, exited, true);
  };
  try {
    await poll('WebKitWebDriver', () => transport.request('GET', '/status').catch(() => undefined));
    const browser = process.env.SCULPT_MINIBROWSER ??
                    '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
    const {sessionId} = await transport.request('POST', '/session', {capabilities: {alwaysMatch: {
      'webkitgtk:browserOptions': {
        binary: browser, args: ['--automation', ...(webgl ? [] : ['--enable-webgl=false'])],
      },
    }}});
    transport.session = sessionId;
    return {transport, close};
  } catch (e) {
    await close();
    throw e;
  }
}

// A fresh browser of `engine` (firefox or webkit) with a page at `size`; messages is null, as
// neither reports the console here.
export async function open(size, {webgl = true, engine}) {
  const {transport, close} = engine === 'firefox' ? await openFirefox(size, webgl) :
                                                    await openWebKit(webgl);
  try {
    await transport.command('timeouts', {script: kWait});
    const page = new Page(engine, transport);
    await page.setViewport(size);
    return {page, messages: null, close};
  } catch (e) {
    await close();
    throw e;
  }
}
