// serve.mjs FOLDER [PORT]: serves the built pages on 127.0.0.1 (PORT, or one the system picks) and
// prints the address; module files go out as application/wasm, so browsers compile them as they
// arrive. Imported, startServer does the same for the browser tests. A bad request gets its error
// status and the server goes on; nothing outside the folder is ever read.
import {STATUS_CODES, createServer} from 'node:http';
import {readFile, realpath} from 'node:fs/promises';
import {extname, join, resolve, sep} from 'node:path';
import {pathToFileURL} from 'node:url';

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
  '.txt': 'text/plain; charset=utf-8',
};
const kMaxTarget = 2048;  // characters of a request target; no page of ours has a longer one
const kHeadersTimeoutMs = 10000;  // a client that has not sent its whole head by then is dropped
// The parser's own refusals, and the status each gets; any other is a plain bad request. The
// parser knows only the registered methods: another in a well-formed request line is a method not
// allowed, anything else there a bad request.
const kClientErrors = {
  HPE_HEADER_OVERFLOW: 431,
  ERR_HTTP_REQUEST_TIMEOUT: 408,
};
const kRequestLine = /^[-!#$%&'*+.^_`|~0-9A-Za-z]+ \S+ HTTP\/1\.[01]\r?\n/;
const statusOf = (error) => error.code === 'HPE_INVALID_METHOD' ?
    (kRequestLine.test(error.rawPacket?.toString('latin1') ?? '') ? 405 : 400) :
    kClientErrors[error.code] ?? 400;

// The file a request's path names inside `root`, or the status that refuses it.
function fileFor(root, target) {
  if (target.length > kMaxTarget) return {status: 414};
  let path;
  try {
    // An absolute-form target's host is not ours to follow: only its path counts.
    path = decodeURIComponent(new URL(target, 'http://localhost').pathname);
  } catch {
    return {status: 400};
  }
  const segments = path.split('/');
  if (path.includes('\0') || path.includes('\\') || segments.includes('..')) return {status: 400};
  const file = join(root, path === '/' ? 'index.html' : path);
  const type = kTypes[extname(file)];
  // Only the page's own kinds of file, and only inside the folder.
  if (!file.startsWith(root + sep) || !type) return {status: 404};
  return {file, type};
}

export function startServer(folder, port = 0) {
  const root = resolve(folder);
  const server = createServer({headersTimeout: kHeadersTimeoutMs,
                               requestTimeout: 2 * kHeadersTimeoutMs,
                               connectionsCheckingInterval: 1000},
                              async (request, response) => {
    const end = (status, headers = {}) => response.writeHead(status, headers).end();
    try {
      if (request.method !== 'GET' && request.method !== 'HEAD') {
        end(405, {Allow: 'GET, HEAD'});
        return;
      }
      const {status, file, type} = fileFor(root, request.url);
      if (status) {
        end(status);
        return;
      }
      // A link inside the folder may lead out of it: the real path must stay inside too.
      const real = await realpath(file).catch(() => null);
      if (!real || !real.startsWith((await realpath(root)) + sep)) {
        end(404);
        return;
      }
      const body = await readFile(real);
      response.writeHead(200, {'Content-Type': type, 'Content-Length': body.length,
                               'Cache-Control': 'no-cache'});
      response.end(request.method === 'HEAD' ? undefined : body);
    } catch {
      if (!response.headersSent) end(500);
      else response.destroy();
    }
  });
  // Requests the parser refuses, and heads that never end, get their status before the
  // connection closes.
  server.on('clientError', (error, socket) => {
    if (!socket.writable || socket.destroyed) {
      socket.destroy();
      return;
    }
    const status = statusOf(error);
    socket.end(`HTTP/1.1 ${status} ${STATUS_CODES[status]}\r\n` +
               'Connection: close\r\nContent-Length: 0\r\n\r\n', () => socket.destroy());
  });
  return new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, '127.0.0.1', () => done(server));
  });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [folder, port] = process.argv.slice(2);
  if (!folder) {
    console.error('usage: serve.mjs FOLDER [PORT]');
    process.exit(2);
  }
  const server = await startServer(folder, Number(port ?? 8000));
  console.log(`serving ${resolve(folder)} at http://127.0.0.1:${server.address().port}/`);
}
