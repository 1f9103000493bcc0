// page-test.mjs FOLDER PROGRAM: one program's page in the browser, used as a person would: it
// fills the page and follows its size, hides the pointer, draws over its clear colour, moves the
// cursor with the arrows, gives a 640 × 480 canvas on F11 and the screen on F11 again, ends on
// Esc, and writes nothing to the console. Exits non-zero, saying what failed.
import assert from 'node:assert/strict';

import {assertQuiet, awaitCanvas, awaitFrames, decodePng, readScene, until, withPage} from
    './browser.mjs';

const [folder, program] = process.argv.slice(2);
const kClearColours = {  // the programs' clear colours as bytes
  sculpt_lines: [120, 133, 66],
  sculpt_grey: [229, 172, 206],
  sculpt_glow: [122, 161, 203],
  sculpt_bands: [213, 192, 130],
};
async function scene(page) {
  return page.evaluate(() => readScene());
}

// Shares of a screenshot: of pixels within 2 of the clear colour, of those of the page's own
// background, and how many colours it shows.
async function picture(page) {
  const {pixels} = decodePng(await page.screenshot());
  const clear = kClearColours[program];
  let clearCount = 0, pageCount = 0;
  const colours = new Set();
  for (let i = 0; i < pixels.length; i += 3) {
    const [r, g, b] = [pixels[i], pixels[i + 1], pixels[i + 2]];
    if (Math.abs(r - clear[0]) <= 2 && Math.abs(g - clear[1]) <= 2 && Math.abs(b - clear[2]) <= 2)
      ++clearCount;
    if (r === 0x20 && g === 0x20 && b === 0x20) ++pageCount;
    colours.add((r << 16) | (g << 8) | b);
  }
  const n = pixels.length / 3;
  return {clear: clearCount / n, page: pageCount / n, colours: colours.size};
}

await withPage(folder, `${program}.html`, {width: 1024, height: 768}, async (page, address,
                                                                          messages) => {
  await page.goto(address);
  await page.evaluate(`window.readScene = ${readScene}`);

  // At start the canvas fills the page, the program knows its size, and frames follow.
  await awaitCanvas(page, {x: 0, y: 0, width: 1024, height: 768});
  await awaitFrames(page);
  const start = await scene(page);
  assert.deepEqual([start.cursorX, start.cursorY], [128, 128], 'the cursor starts mid-field');
  let shot = await picture(page);
  assert.ok(shot.clear > 0.01, `the clear colour shows: ${shot.clear}`);
  assert.ok(shot.clear < 0.9 && shot.colours > 50, `a picture, not one colour: ${shot.colours}`);
  assert.equal(shot.page, 0, 'nothing of the page shows around the canvas');
  assert.equal(await page.evaluate(() => getComputedStyle(document.getElementById('canvas')).cursor),
               'none',
               'the pointer is hidden over the canvas');
  const controlsShown = () => page.evaluate(() => document.getElementById('controls')
                                                      .checkVisibility());
  assert.equal(await controlsShown(), false, 'no touch controls without a touch screen');

  // The canvas follows the page's size through the program's reshape.
  await page.setViewport({width: 800, height: 600});
  await awaitCanvas(page, {x: 0, y: 0, width: 800, height: 600});
  await awaitFrames(page);
  shot = await picture(page);
  assert.equal(shot.page, 0, 'after a resize, nothing of the page shows');

  // The arrows steer the cursor one cell a press, and the camera follows; the page stays put.
  for (const key of ['ArrowRight', 'ArrowRight', 'ArrowRight', 'ArrowUp', 'ArrowUp',
                     'ArrowLeft', 'ArrowDown', 'ArrowUp'])
    await page.press(key);
  let moved = await scene(page);
  assert.deepEqual([moved.cursorX, moved.cursorY], [130, 130], 'the arrows move the cursor');
  await until(page, function cameraFollows() {
    const s = readScene();
    return s && s.camX > 129.9 && s.camY > 129.9;
  });
  assert.deepEqual(await page.evaluate(() => [window.scrollX, window.scrollY]), [0, 0],
                   'the arrows do not scroll the page');

  // F11 leaves the filled page for a 640 × 480 canvas where the window was; F11 again asks for
  // the screen, a key press being the user's gesture.
  await page.press('F11');
  await awaitCanvas(page, {x: 100, y: 100, width: 640, height: 480});
  await awaitFrames(page);
  shot = await picture(page);
  // On a page of 800 × 600, all but 640 × 480 of it.
  assert.ok(Math.abs(shot.page - 0.36) < 0.01, `the page shows around the canvas: ${shot.page}`);
  await page.press('F11');
  await until(page, function fullScreen() {
    return document.fullscreenElement !== null;
  });
  const screen = await page.evaluate(() => [innerWidth, innerHeight]);
  await awaitCanvas(page, {x: 0, y: 0, width: screen[0], height: screen[1]});
  await awaitFrames(page);

  // A screen that can be touched as well shows the touch controls once it is touched.
  if (page.touchScreen) {
    if (page.engine === 'chromium')
      await page.send('Emulation.setTouchEmulationEnabled', {enabled: true, maxTouchPoints: 1});
    await page.touch('touchStart', [{x: 10, y: 10}]);
    await page.touch('touchEnd');
    await until(page, function controlsShow() {
      return document.getElementById('controls').checkVisibility();
    });
  }

  // Esc, once out of the browser's full screen, ends the program: no more frames or timers, the
  // canvas gone and a line saying how to start again.
  await page.evaluate(() => document.exitFullscreen());
  await until(page, function windowed() {
    return document.fullscreenElement === null;
  });
  await page.press('Escape');
  await until(page, function endedLineShows() {
    return !document.getElementById('ended').hidden;
  });
  const ended = await page.evaluate(() => ({
    canvas: getComputedStyle(document.getElementById('canvas')).display,
    timers: Object.keys(sculptGlut.timers).length,
  }));
  assert.equal(ended.canvas, 'none', 'the canvas is gone');
  assert.equal(await controlsShown(), false, 'the touch controls are gone');
  assert.equal(ended.timers, 0, 'no timer is pending');
  const heightsAt = (address) => page.evaluate((a) => Array.from(HEAPF32.subarray(a + 7,
                                                                     a + 7 + 256 * 256)), address);
  const before = await heightsAt(moved.address);
  await new Promise((done) => setTimeout(done, 500));
  assert.deepEqual(await heightsAt(moved.address), before, 'the field grows no more');
  assertQuiet(messages, 'nothing on the console');
  console.log(`${program}: all checks passed`);
});
