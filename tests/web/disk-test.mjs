// disk-test.mjs FOLDER: the built pages opened from disk, as after unpacking the folder: the index
// page's links lead to pages that draw and to the licence and notices, and each program's page
// draws from the folder and alone in an empty one; nothing on the console. Exits non-zero, saying
// what failed.
import assert from 'node:assert/strict';
import {copyFileSync, mkdirSync, mkdtempSync, readFileSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join, resolve} from 'node:path';
import {pathToFileURL} from 'node:url';

import {assertQuiet, colourCount, openProgram, withPage} from './browser.mjs';

const folder = resolve(process.argv[2]);
const kPrograms = ['sculpt_lines', 'sculpt_grey', 'sculpt_glow', 'sculpt_bands'];
const kLicence = readFileSync(new URL('../../LICENSE', import.meta.url), 'utf8');
const words = (text) => text.replace(/\s+/g, ' ').trim();
const alone = mkdtempSync(join(tmpdir(), 'sculpt-alone-'));
try {
  await withPage(folder, 'index.html', {width: 800, height: 600}, async (page, _, messages) => {
    await page.goto(pathToFileURL(join(folder, 'index.html')).href);
    const links = await page.evaluate(() => Array.from(document.querySelectorAll('a'), (a) => a.href));
    assert.deepEqual(links, [...kPrograms.map((p) => `${p}.html`), 'notices.txt']
                                .map((file) => pathToFileURL(join(folder, file)).href),
                     'the index page links to each program beside it, and to the notices');
    // The notices: the project's licence, then a notice with a copyright under each heading.
    await page.goto(links.at(-1));
    const notices = await page.evaluate(() => document.body.innerText);
    assert.ok(words(notices).includes(words(kLicence)), 'the notices hold the licence');
    const parts = notices.split(/^-{78}$/m).slice(1);
    assert.ok(parts.length >= 8, `headings and notices: ${parts.length} parts`);
    for (let i = 0; i < parts.length; i += 2) {
      assert.match(parts[i + 1], /copyright/i, `a notice under ${parts[i].trim()}`);
    }
    for (const [i, program] of kPrograms.entries()) {
      const empty = mkdirSync(join(alone, program), {recursive: true});
      copyFileSync(join(folder, `${program}.html`), join(empty, `${program}.html`));
      for (const address of [links[i], pathToFileURL(join(empty, `${program}.html`)).href]) {
        await openProgram(page, address);
        assert.ok(await colourCount(page) > 50, `${address} draws`);
      }
    }
    assertQuiet(messages, 'nothing on the console');
  });
} finally {
  rmSync(alone, {recursive: true, force: true});
}
console.log('every page draws from disk, in its folder and alone');
