// serve.mjs FOLDER [PORT]: serves the built pages on 127.0.0.1 (PORT, or one the system picks) and
// prints the address; module files go out as application/wasm, so browsers compile them as they
// arrive. Imported, startServer does the same for the browser tests.
import {createServer} from 'node:http';
import {readFile} from 'node:fs/promises';
import {extname, join, normalize, resolve} from 'node:path';
import {pathToFileURL} from 'node:url';

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
  '.txt': 'text/plain; charset=utf-8',
};

export function startServer(folder, port = 0) {
  const root = resolve(folder);
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const file = normalize(join(root, path === '/' ? 'index.html' : path));
    const type = kTypes[extname(file)];
    // Only the page's own kinds of file, and only inside the folder.
    if (!file.startsWith(root + '/') || !type) {
      response.writeHead(404).end();
      return;
    }
    try {
      const body = await readFile(file);
      response.writeHead(200, {'Content-Type': type, 'Cache-Control': 'no-cache'}).end(body);
    } catch {
      response.writeHead(404).end();
    }
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
