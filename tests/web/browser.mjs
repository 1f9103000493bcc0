// The tests' browser: Debian's Chromium, headless, with WebGL on Mesa's llvmpipe as on the
// desktop; a page of the built folder served on 127.0.0.1; every wait bounded, and the browser
// ended by its own process id whatever happens.
import puppeteer from 'puppeteer-core';
import {inflateSync} from 'node:zlib';

import {startServer} from '../../web/serve.mjs';

export const kWait = 20000;  // ms, the most any one wait in the browser tests takes

export async function withPage(folder, file, size, body) {
  const server = await startServer(folder);
  let browser = null;
  try {
    browser = await puppeteer.launch({
      executablePath: process.env.SCULPT_CHROMIUM ?? '/usr/bin/chromium',
      headless: true,
      timeout: kWait,
      protocolTimeout: kWait * 3,
      args: ['--no-sandbox', '--use-angle=gl-egl', '--ignore-gpu-blocklist',
             '--disable-background-networking', '--disable-component-update', '--disable-sync',
             '--no-first-run', '--disable-features=Translate,MediaRouter',
             `--window-size=${size.width},${size.height}`],
    });
    const page = await browser.newPage();
    page.setDefaultTimeout(kWait);
    await page.setViewport(size);
    const messages = [];
    page.on('console', (m) => messages.push(`console.${m.type()}: ${m.text()}`));
    page.on('pageerror', (e) => messages.push(`page error: ${e.message}`));
    page.on('requestfailed', (r) => messages.push(`request failed: ${r.url()}`));
    const address = `http://127.0.0.1:${server.address().port}/${file}`;
    return await body(page, address, messages);
  } finally {
    const pid = browser?.process()?.pid;
    await Promise.race([browser?.close(), new Promise((done) => setTimeout(done, 5000))])
        .catch(() => {});
    try {
      if (pid) process.kill(pid, 'SIGKILL');
    } catch {
      // already gone
    }
    server.close();
  }
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
