// web_frames.mjs FOLDER WIDTHxHEIGHT[@SCALE] SECONDS RUNS LINUX_MEDIANS PROGRAM...: each program's
// frame rate in headless Chromium (WebGL on Mesa's llvmpipe), RUNS runs of SECONDS at the given
// page size, against the Linux build's medians from the same bench run, or with LINUX_MEDIANS `-`
// alone; the floor, a page that only clears a canvas of that size at every frame the browser
// gives (clear_page.html); and each program's download, its one page gzip-compressed. With
// @SCALE, the page is a phone's: SCALE device pixels to a CSS pixel, touch and no mouse. Prints a
// Markdown table.
//
// A frame is a picture the browser presents, as on Linux a frame is a picture the swap presents.
// The browser begins each of its frames with the page's animation-frame callbacks; one injected
// there counts the frames whose picture is new since the last, by a value that every frame of the
// page changes: the height of the cell under the still cursor, which each model step raises by 0.1,
// or the floor page's count of clears.
import {readFileSync} from 'node:fs';
import {dirname} from 'node:path';
import {fileURLToPath} from 'node:url';
import {gzipSync} from 'node:zlib';

import {readScene, until, withPage} from '../tests/web/browser.mjs';

const [folder, size, seconds, runs, linuxMedians, ...programs] = process.argv.slice(2);
const [width, height, scale] = size.split(/[x@]/).map(Number);
const here = dirname(fileURLToPath(import.meta.url));

// Pictures presented a second, counted in the page over `seconds` after a second's warm-up.
async function frameRate(pageFolder, file, picture) {
  return withPage(pageFolder, file, {width, height}, async (page, address) => {
    if (scale) await page.emulatePhone({width, height, scale});
    await page.goto(address);
    await page.evaluate(`window.readScene = ${readScene}; window.benchPicture = ${picture}`);
    await until(page, () => benchPicture() !== undefined);
    await new Promise((done) => setTimeout(done, 1000));  // past the start and the first reshape
    return page.evaluate(async (seconds) => {
      let presented = 0, last = benchPicture(), counting = true;
      const count = () => {
        const now = benchPicture();
        if (now !== last) ++presented;
        last = now;
        if (counting) requestAnimationFrame(count);
      };
      requestAnimationFrame(count);
      const start = performance.now();
      await new Promise((done) => setTimeout(done, seconds * 1000));
      counting = false;
      return presented / ((performance.now() - start) / 1000);
    }, Number(seconds));
  });
}

async function median(measure) {
  const rates = [];
  for (let run = 0; run < Number(runs); ++run) rates.push(await measure());
  rates.sort((a, b) => a - b);
  return {median: rates[Math.floor(rates.length / 2)], low: rates[0], high: rates.at(-1)};
}

const linux = linuxMedians === '-' ? {} :
    Object.fromEntries(readFileSync(linuxMedians, 'utf8').trim().split('\n')
                           .map((line) => line.split('\t')).map((f) => [f[0], Number(f[1])]));
const kib = (file) => gzipSync(readFileSync(`${folder}/${file}`), {level: 9}).length / 1024;
console.log('| program | Linux frames/s | browser frames/s (min to max) | browser / Linux |' +
            ' browser / floor | page, KiB gzip |');
console.log('|---|---|---|---|---|---|');
const floor = await median(() => frameRate(here, 'clear_page.html', () => window.picture));
const spread = (r) => `${r.median.toFixed(1)} (${r.low.toFixed(1)} to ${r.high.toFixed(1)})`;
for (const program of programs) {
  const rate = await median(() => frameRate(folder, `${program}.html`,
                                            () => readScene()?.cursorHeight));
  const native = linux[program];
  console.log(`| \`${program}\` | ${native ? native.toFixed(1) : '-'} | ${spread(rate)} |` +
              ` ${native ? (rate.median / native).toFixed(2) : '-'} |` +
              ` ${(rate.median / floor.median).toFixed(2)} | ${kib(`${program}.html`).toFixed(1)} |`);
}
console.log(`| floor: a cleared canvas | - | ${spread(floor)} | - | 1 | - |`);
