// disk-test.mjs FOLDER: the built pages opened from disk, as after unpacking the folder: the index
// page's links lead to pages that draw, and each program's page draws from the folder and alone in
// an empty one; nothing on the console. Exits non-zero, saying what failed.
import assert from 'node:assert/strict';
import {copyFileSync, mkdirSync, mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join, resolve} from 'node:path';
import {pathToFileURL} from 'node:url';

import {assertQuiet, colourCount, openProgram, withPage} from './browser.mjs';

const folder = resolve(process.argv[2]);
const kPrograms = ['sculpt_lines', 'sculpt_grey', 'sculpt_glow', 'sculpt_bands'];
const alone = mkdtempSync(join(tmpdir(), 'sculpt-alone-'));
try {
  await withPage(folder, 'index.html', {width: 800, height: 600}, async (page, _, messages) => {
    await page.goto(pathToFileURL(join(folder, 'index.html')).href);
    const links = await page.evaluate(() => Array.from(document.querySelectorAll('a'), (a) => a.href));
    assert.deepEqual(links, kPrograms.map((p) => pathToFileURL(join(folder, `${p}.html`)).href),
                     'the index page links to each program beside it');
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
