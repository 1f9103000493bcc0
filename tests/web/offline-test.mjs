// offline-test.mjs FOLDER PROGRAM [rebuilt]: one program's page as an installable app: its
// manifest parses and asks for full screen with the icons a launcher needs; its service worker
// takes over, so that with the network off a reload still draws; and with `rebuilt`, a rebuilt
// folder reaches a visitor who has the old one on the next load, its cache replacing the old.
// Exits non-zero, saying what failed.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {fileURLToPath} from 'node:url';

import {assertQuiet, kWait, openProgram, until, withPage} from './browser.mjs';

const [folder, program, rebuilt] = process.argv.slice(2);
const web = fileURLToPath(new URL('../../web/', import.meta.url));
const kClearColours = {sculpt_lines: '#788542', sculpt_grey: '#e5acce', sculpt_glow: '#7aa1cb',
                       sculpt_bands: '#d5c082'};

// The folder as it ships, installed from the build, which the test may rebuild.
const cmake = process.env.SCULPT_CMAKE ?? 'cmake';
const served = mkdtempSync(join(tmpdir(), 'sculpt-offline-'));
execFileSync(cmake, ['--install', folder, '--prefix', served], {stdio: 'ignore'});
const worker = () => readFileSync(join(served, 'service-worker.js'), 'utf8');
const cacheOf = () => worker().match(/kCache = '([^']+)'/)[1];
try {
  await withPage(served, `${program}.html`, {width: 800, height: 600},
                 async (page, address, messages, server) => {
    await openProgram(page, address);
    // The manifest as the page names it; Chromium, which installs apps, parses it as it would.
    const {url, manifest} = await page.evaluate(async () => {
      const link = document.querySelector('link[rel=manifest]');
      return {url: link.href, manifest: await (await fetch(link.href)).json()};
    });
    assert.ok(url.endsWith(`/${program}.webmanifest`), `the page names its manifest: ${url}`);
    if (page.engine === 'chromium') {
      const {errors, data} = await page.send('Page.getAppManifest');
      assert.deepEqual(errors, [], 'the manifest parses');
      assert.deepEqual(JSON.parse(data), manifest);
    }
    assert.equal(manifest.display, 'fullscreen', 'the app starts full screen');
    assert.equal(manifest.start_url, `${program}.html`);
    assert.equal(manifest.background_color, kClearColours[program], 'the clear colour');
    const sizes = manifest.icons.map((i) => `${i.sizes} ${i.purpose}`);
    assert.deepEqual(sizes, ['192x192 any', '512x512 any', '512x512 maskable']);
    for (const icon of manifest.icons) {
      const png = readFileSync(join(served, icon.src));
      assert.equal(`${png.readUInt32BE(16)}x${png.readUInt32BE(20)}`, icon.sizes, icon.src);
    }

    // The worker is active with the build's cache alone, and with the network off a reload
    // draws.
    const active = async function workerActive(cache) {
      const worker = await navigator.serviceWorker.getRegistration();
      return worker?.active?.state === 'activated' && (await caches.keys()).join() === cache;
    };
    await until(page, active, [cacheOf()]);
    // Offline is every request to the server failing as a lost network fails it: the browser's
    // own offline switch (Network.emulateNetworkConditions) holds back the page's requests but
    // not those its worker makes.
    let offline = false;
    server.prependListener('request', (request) => {
      if (offline) request.socket.destroy();
    });
    offline = true;
    await openProgram(page, address);
    // What the index's link would open (a document of its own would also ask for a site icon,
    // which nothing keeps).
    assert.match(await page.evaluate(async () => (await fetch('notices.txt')).text()),
                 /^MIT License$/m, 'offline, the licence and notices are kept too');
    assertQuiet(messages, 'nothing on the console');

    // Rebuilt with a change: the next load shows it, the worker keeps the new build in a new
    // cache and drops the old, and offline the new page is what comes. The worker is the
    // folder's, not the program's, so one program's test is enough.
    if (rebuilt !== 'rebuilt') return;
    offline = false;
    const old = cacheOf();
    const pageFile = join(served, `${program}.html`);
    writeFileSync(pageFile, readFileSync(pageFile, 'utf8')
                                 .replace('<head>', '<head>\n<meta name="build" content="2">'));
    const kept = worker().match(/kFiles = \[([^\]]*)\]/)[1].replaceAll(/[' ]/g, '');
    execFileSync(cmake, [`-DFOLDER=${served}`, `-DFILES=${kept}`,
      `-DTEMPLATE=${web}/service-worker.js.in`, '-P', `${web}/offline.cmake`]);
    assert.notEqual(cacheOf(), old, 'a new build, a new cache');
    const rebuiltPage = () => document.querySelector('meta[name=build]') !== null;
    await openProgram(page, address);
    assert.ok(await page.evaluate(rebuiltPage), 'the next load shows the rebuilt page');
    // Chromium 156 takes the new worker in about a minute after that load.
    await until(page, active, [cacheOf()], {timeout: 3 * kWait});
    offline = true;
    await openProgram(page, address);
    assert.ok(await page.evaluate(rebuiltPage), 'offline, the rebuilt page is kept');
  });
} finally {
  rmSync(served, {recursive: true, force: true});
}
console.log(`${program}: installable, and draws offline`);
