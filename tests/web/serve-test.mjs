// serve-test.mjs: the page server as a real process, over raw sockets: each bad request gets its
// error status, nothing outside the folder comes back whatever the encoding, a head that is never
// finished is dropped in bounded time, and after each the next request is answered. Exits
// non-zero, saying what failed.
import assert from 'node:assert/strict';
import {spawn} from 'node:child_process';
import {mkdirSync, mkdtempSync, rmSync, symlinkSync, writeFileSync} from 'node:fs';
import {connect} from 'node:net';
import {tmpdir} from 'node:os';
import {join} from 'node:path';

const kSecret = 'outside the folder';
const kWaitMs = 30000;  // for the server to start, and for any one answer
const top = mkdtempSync(join(tmpdir(), 'sculpt-serve-'));
const site = join(top, 'site');
mkdirSync(site);
writeFileSync(join(site, 'index.html'), '<!doctype html><title>index</title>');
writeFileSync(join(top, 'secret.txt'), kSecret);
symlinkSync(join(top, 'secret.txt'), join(site, 'link.txt'));

// One raw request, the connection left open as a browser leaves it; resolves with what came back
// once the server closes it.
function exchange(port, bytes) {
  return new Promise((done, fail) => {
    let reply = '';
    const socket = connect(port, '127.0.0.1', () => socket.write(bytes));
    const timer = setTimeout(() => { socket.destroy(); fail(new Error(`no answer to ${bytes.slice(0, 60)}`)); },
                             kWaitMs);
    socket.on('data', (data) => { reply += data; });
    socket.on('error', () => {});
    socket.on('close', () => { clearTimeout(timer); done(reply); });
  });
}
const statusOf = (reply) => Number(/^HTTP\/1\.1 (\d{3})/.exec(reply)?.[1]);
const get = (target, method = 'GET') =>
  `${method} ${target} HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n`;

const server = spawn(process.execPath, [new URL('../../web/serve.mjs', import.meta.url).pathname,
                                        site, '0'], {stdio: ['ignore', 'pipe', 'inherit']});
try {
  const port = await new Promise((done, fail) => {
    const timer = setTimeout(() => fail(new Error('the server did not start')), kWaitMs);
    server.stdout.on('data', (data) => {
      const match = /127\.0\.0\.1:(\d+)/.exec(data);
      if (match) { clearTimeout(timer); done(Number(match[1])); }
    });
  });
  const cases = [
    ['a malformed escape', get('/%E0%A4%A'), 400],
    ['an escape of no character', get('/%zz.html'), 400],
    ['dot-dot', get('/../secret.txt'), 404],
    ['encoded dot-dot', get('/%2e%2e/secret.txt'), 404],
    ['dot-dot with an encoded slash', get('/..%2fsecret.txt'), 400],
    ['a backslash', get('/..%5csecret.txt'), 400],
    ['a NUL', get('/index.html%00.txt'), 400],
    ['an absolute-form target', get('http://127.0.0.1/../secret.txt'), 404],
    ['a target that reads as a host', get('//secret.txt/../secret.txt'), 404],
    ['a link out of the folder', get('/link.txt'), 404],
    ['a method not served', get('/index.html', 'DELETE'), 405],
    ['an unknown method', get('/index.html', 'BREW'), 405],
    ['an overlong target', get(`/${'a'.repeat(4000)}.html`), 414],
    ['an overlong head', get(`/${'a'.repeat(70000)}.html`), 431],
    ['a broken request line', 'GET\r\n\r\n', 400],
  ];
  for (const [what, request, status] of cases) {
    const reply = await exchange(port, request);
    assert.equal(statusOf(reply), status, `${what}: ${reply.split('\r\n')[0]}`);
    assert.ok(!reply.includes(kSecret), `${what}: nothing from outside the folder`);
    assert.equal(statusOf(await exchange(port, get('/'))), 200, `answered after ${what}`);
  }
  // A head never finished: dropped with 408 within the server's bound, and the server goes on.
  const started = Date.now();
  const reply = await exchange(port, 'GET /index.html HTTP/1.1\r\nHost: 127.0.0.1\r\n');
  assert.equal(statusOf(reply), 408, `a half-sent request: ${reply.split('\r\n')[0]}`);
  assert.ok(Date.now() - started < kWaitMs, 'dropped in bounded time');
  const page = await exchange(port, get('/index.html'));
  assert.equal(statusOf(page), 200, 'answered after a half-sent request');
  assert.ok(page.endsWith('<title>index</title>'), 'the page itself');
  const head = await exchange(port, get('/index.html', 'HEAD'));
  assert.equal(statusOf(head), 200);
  assert.ok(head.endsWith('\r\n\r\n'), 'HEAD: no body');
  assert.equal(server.exitCode, null, 'the server is still running');
  console.log(`the server answered ${cases.length + 1} bad requests and went on`);
} finally {
  server.kill();
  rmSync(top, {recursive: true, force: true});
}
