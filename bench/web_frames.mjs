// web_frames.mjs FOLDER WIDTHxHEIGHT[@SCALE] SECONDS RUNS LINUX_MEDIANS PROGRAM...: each program's
// frame rate in headless Chromium (WebGL on Mesa's llvmpipe), RUNS runs of SECONDS at the given
// page size, against the Linux build's medians from the same bench run, or with LINUX_MEDIANS `-`
// alone; and each program's download, its one page gzip-compressed. With @SCALE, the page is a
// phone's: SCALE device pixels to a CSS pixel, touch and no mouse. Prints a Markdown table. Frames
// are counted by the model itself: every frame raises the cell under the cursor by 0.1, and
// nothing here moves the cursor.
import {readFileSync} from 'node:fs';
import {gzipSync} from 'node:zlib';

import {readScene, until, withPage} from '../tests/web/browser.mjs';

const [folder, size, seconds, runs, linuxMedians, ...programs] = process.argv.slice(2);
const [width, height, scale] = size.split(/[x@]/).map(Number);
const kGrowth = 0.1;  // grid units a frame at the cursor cell

function cursorHeight() {
  return readScene()?.cursorHeight;
}

async function frameRate(program) {
  return withPage(folder, `${program}.html`, {width, height}, async (page, address) => {
    if (scale) await page.emulatePhone({width, height, scale});
    await page.goto(address);
    await page.evaluate(`window.readScene = ${readScene}`);
    await until(page, cursorHeight);
    await new Promise((done) => setTimeout(done, 1000));  // past the start and the first reshape
    const before = await page.evaluate(cursorHeight);
    const start = performance.now();
    await new Promise((done) => setTimeout(done, seconds * 1000));
    const after = await page.evaluate(cursorHeight);
    return (after - before) / kGrowth / ((performance.now() - start) / 1000);
  });
}

const linux = linuxMedians === '-' ? {} :
    Object.fromEntries(readFileSync(linuxMedians, 'utf8').trim().split('\n')
                           .map((line) => line.split('\t')).map((f) => [f[0], Number(f[1])]));
const kib = (file) => gzipSync(readFileSync(`${folder}/${file}`), {level: 9}).length / 1024;
console.log('| program | Linux frames/s | browser frames/s (min to max) | browser / Linux |' +
            ' page, KiB gzip |');
console.log('|---|---|---|---|---|');
for (const program of programs) {
  const rates = [];
  for (let run = 0; run < Number(runs); ++run) rates.push(await frameRate(program));
  rates.sort((a, b) => a - b);
  const median = rates[Math.floor(rates.length / 2)];
  const native = linux[program];
  console.log(`| \`${program}\` | ${native ? native.toFixed(1) : '-'} | ${median.toFixed(1)}` +
              ` (${rates[0].toFixed(1)} to ${rates.at(-1).toFixed(1)}) |` +
              ` ${native ? (median / native).toFixed(2) : '-'} | ${kib(`${program}.html`).toFixed(1)} |`);
}
