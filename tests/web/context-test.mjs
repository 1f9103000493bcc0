// context-test.mjs FOLDER PROGRAM: the program's drawing context lost and given back. Given back,
// the next frames show what an uninterrupted run from the same seed shows at the same frame; not
// given back, the page says so while the program runs on; and without WebGL the page says what
// is missing and the program does not start. Nothing on the console. Exits non-zero, saying what
// failed.
import assert from 'node:assert/strict';

import {assertQuiet, colourCount, openProgram, readScene, until, withPage} from './browser.mjs';

const [folder, program] = process.argv.slice(2);
const kSize = {width: 640, height: 480};
const kLostMs = 5000;  // ms the page waits for a lost context before saying so

// The fixed-seed page's kept frame, with the context lost at its start and given back once the
// program has run `lostFrames` timer ticks (a frame each) without it, or never lost if that is 0.
async function keptPicture(lostFrames) {
  return withPage(folder, `tests/picture/${program}_fixed.html`, kSize, async (page, address) => {
    await page.goto(address);
    const lost = await page.evaluate((lostFrames) => new Promise((done) => {
      if (lostFrames === 0) return done(null);
      const lose = () => {
        if (!window.sculptGl?.gl) return setTimeout(lose, 1);
        const canvas = sculptGl.context.canvas;
        const extension = sculptGl.context.getExtension('WEBGL_lose_context');
        const run = sculptGlut.run;
        let frames = 0;
        canvas.addEventListener('webglcontextlost', () => {
          sculptGlut.run = (f, args) => {
            run(f, args);
            if (typeof f === 'number' && ++frames === lostFrames) extension.restoreContext();
          };
        });
        canvas.addEventListener('webglcontextrestored', () => {
          sculptGlut.run = run;
          done({frames, kept: window.sculptPicture !== undefined});
        });
        extension.loseContext();
      };
      lose();
    }), lostFrames);
    if (lost) {
      assert.equal(lost.frames, lostFrames, 'the program ran on while the context was lost');
      assert.equal(lost.kept, false, 'the context came back before the kept frame');
    }
    await until(page, function pictureKept() {
      return window.sculptPicture !== undefined;
    });
    return page.evaluate(() => Array.from(window.sculptPicture.pixels));
  });
}

const whole = await keptPicture(0);
const restored = await keptPicture(20);
let differing = 0;
for (let i = 0; i < whole.length; ++i) if (whole[i] !== restored[i]) ++differing;
assert.equal(differing, 0, 'after the context came back, the same picture at the same frame');

// Never given back: the program runs on, and the page says so after a while.
await withPage(folder, `${program}.html`, kSize, async (page, address, messages) => {
  await openProgram(page, address);
  const before = await page.evaluate(() => {
    window.contextLoss = sculptGl.context.getExtension('WEBGL_lose_context');
    contextLoss.loseContext();
    return readScene();
  });
  await new Promise((done) => setTimeout(done, kLostMs / 2));
  const lineShows = () => !document.getElementById('lost').hidden;
  assert.equal(await page.evaluate(lineShows), false, 'no line while the context may come back');
  await until(page, lineShows, [], {timeout: kLostMs * 4});
  const after = await page.evaluate(() => readScene());
  assert.ok(after.cursorHeight > before.cursorHeight + 1, 'the field grew while lost');
  // Given back late, the line goes and the field shows again.
  await page.evaluate(() => contextLoss.restoreContext());
  await until(page, function lineGone() {
    return document.getElementById('lost').hidden;
  });
  assert.ok(await colourCount(page) > 50, 'the field shows again');
  assertQuiet(messages, 'nothing on the console');
});

// Without WebGL: one line that says what the program needs, and no program.
await withPage(folder, `${program}.html`, kSize, async (page, address, messages) => {
  await page.goto(address);
  await until(page, function lineShows() {
    return !document.getElementById('nowebgl').hidden;
  }, [], {describe: () => ({state: document.readyState, context: window.sculptGl?.context !== null,
                            canvas: document.getElementById('canvas').style.display})});
  await new Promise((done) => setTimeout(done, 500));
  const seen = await page.evaluate(() => ({
    canvas: getComputedStyle(document.getElementById('canvas')).display,
    timers: Object.keys(sculptGlut.timers).length,
    text: document.getElementById('nowebgl').textContent,
  }));
  assert.equal(seen.canvas, 'none', 'no canvas');
  assert.equal(seen.timers, 0, 'the program does not run');
  assert.match(seen.text, /needs WebGL.*settings/, 'the line says what to do');
  assertQuiet(messages, 'no page error, nothing on the console');
}, {webgl: false});
console.log(`${program}: all context checks passed`);
