// touch-test.mjs FOLDER PROGRAM: one program's page on a phone, used by touch: the on-screen
// controls are there by name, a tap on an arrow moves the cursor one cell that way, a held arrow
// repeats until lifted or slid off, a swipe or a pinch on the canvas neither scrolls nor zooms the
// page, and turning the phone re-lays the canvas through the program's reshape. Exits non-zero,
// saying what failed.
import assert from 'node:assert/strict';

import {assertQuiet, awaitCanvas, kEngine, readScene, until, withPage} from
    './browser.mjs';

const [folder, program] = process.argv.slice(2);
// CSS pixels, device pixels to one: a phone's in Chromium, which emulates one; elsewhere a window
// as narrow as a desktop browser's toolbars allow, at the display's scale.
const kPhone = kEngine === 'chromium' ? {width: 390, height: 844, scale: 3} :
                                        {width: 600, height: 800, scale: 1};
const kLabels = ['Move left', 'Move right', 'Move up', 'Move down', 'Full screen'];
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

await withPage(folder, `${program}.html`, kPhone, async (page, address, messages) => {
  const scale = await page.emulatePhone(kPhone);
  await page.goto(address);
  await page.evaluate(`window.readScene = ${readScene}`);
  await awaitCanvas(page, {x: 0, y: 0, width: kPhone.width, height: kPhone.height}, scale);
  // Only Chromium makes the page's pointer a finger; elsewhere the controls show at the first
  // touch, as on a laptop with a touch screen.
  if (page.engine !== 'chromium') {
    await page.touch('touchStart', [{x: kPhone.width / 2, y: kPhone.height / 3}]);
    await page.touch('touchEnd');
  }
  const cursor = async () => {
    const s = await page.evaluate(() => readScene());
    return [s.cursorX, s.cursorY];
  };

  // The five buttons, by name, inside the screen, and translucent.
  const buttons = async () => page.evaluate((labels) => labels.map((label) => {
    const b = document.querySelector(`button[aria-label="${label}"]`);
    const r = b?.getBoundingClientRect();
    return b && {x: r.left + r.width / 2, y: r.top + r.height / 2, width: r.width,
                 inside: r.left >= 0 && r.top >= 0 && r.right <= innerWidth &&
                         r.bottom <= innerHeight,
                 shown: b.checkVisibility(), background: getComputedStyle(b).backgroundColor};
  }), kLabels);
  const at = {};
  for (const [i, b] of (await buttons()).entries()) {
    assert.ok(b && b.shown && b.inside && b.width >= 44, `${kLabels[i]} shows: ${JSON.stringify(b)}`);
    assert.match(b.background, /rgba\(.*, 0\.\d+\)/, `${kLabels[i]} is translucent`);
    at[kLabels[i]] = b;
  }

  // A tap on each arrow moves the cursor one cell its way, through the arrow key's path. On a busy
  // machine the lift may reach the page more than the repeat's half second after the touch: the
  // finger was then held, and the arrow repeats as a held one does (below), never more.
  const tap = async (label) => {
    const started = Date.now();
    await page.touch('touchStart', [at[label]]);
    await page.touch('touchEnd');
    return Date.now() - started;
  };
  let [x, y] = await cursor();
  for (const [label, dx, dy] of [['Move right', 1, 0], ['Move up', 0, 1], ['Move left', -1, 0],
                                 ['Move down', 0, -1], ['Move down', 0, -1]]) {
    const took = await tap(label);
    const most = took < 500 ? 1 : 2 + Math.floor((took - 500) / 40);
    const [nx, ny] = await cursor();
    const moved = dx !== 0 ? (nx - x) * dx : (ny - y) * dy;
    assert.ok(moved >= 1 && moved <= most && (dx !== 0 ? ny === y : nx === x),
              `a tap on ${label} of ${took} ms moved the cursor from ${[x, y]} to ${[nx, ny]}`);
    [x, y] = [nx, ny];
  }

  // Held, an arrow repeats after about half a second, then steadily, and stops when lifted; the
  // cursor cannot move more often than the repeat's period allows.
  const started = Date.now();
  await page.touch('touchStart', [at['Move right']]);
  await sleep(1500);
  await page.touch('touchEnd');
  const held = Date.now() - started;
  const [afterHold] = await cursor();
  const most = 2 + Math.floor((held - 500) / 40);
  assert.ok(afterHold - x >= 10 && afterHold - x <= most,
            `a 1.5 s hold moves by repeats: ${afterHold - x} cells in ${held} ms`);
  await sleep(300);
  assert.equal((await cursor())[0], afterHold, 'the repeats stop at lift');

  // Sliding the finger off the button ends the hold too.
  await page.touch('touchStart', [at['Move left']]);
  await sleep(700);
  await page.touch('touchMove', [{x: kPhone.width / 2, y: kPhone.height / 3}]);
  await sleep(200);  // a move reaches the page with its next frame
  const [slid] = await cursor();
  assert.ok(slid < afterHold, 'the held arrow moved the cursor');
  await sleep(300);
  assert.equal((await cursor())[0], slid, 'the repeats stop when the finger leaves the button');
  await page.touch('touchEnd');

  // A swipe and a pinch on the canvas leave the page where it was, at its scale.
  const middle = {x: kPhone.width / 2, y: kPhone.height / 2};
  await page.touch('touchStart', [middle]);
  for (let step = 1; step <= 10; ++step)
    await page.touch('touchMove', [{x: middle.x, y: middle.y - 30 * step}]);
  await page.touch('touchEnd');
  await page.touch('touchStart', [{x: middle.x - 20, y: middle.y}, {x: middle.x + 20, y: middle.y}]);
  for (let step = 1; step <= 10; ++step) {
    await page.touch('touchMove', [{x: middle.x - 20 - 12 * step, y: middle.y},
                                   {x: middle.x + 20 + 12 * step, y: middle.y}]);
  }
  await page.touch('touchEnd');
  await sleep(300);
  assert.deepEqual(await page.evaluate(() => [scrollX, scrollY, visualViewport.scale,
                                               visualViewport.offsetTop]),
                   [0, 0, 1, 0], 'the page neither scrolls nor zooms');

  // Turned to landscape, the canvas fills the turned screen through the reshape, and the
  // controls are still within reach.
  await page.emulatePhone({...kPhone, width: kPhone.height, height: kPhone.width});
  await awaitCanvas(page, {x: 0, y: 0, width: kPhone.height, height: kPhone.width}, scale);
  for (const [i, b] of (await buttons()).entries()) {
    assert.ok(b.shown && b.inside, `${kLabels[i]} shows in landscape: ${JSON.stringify(b)}`);
    at[kLabels[i]] = b;
  }

  // "Full screen" asks for the screen while the program fills the page; from the screen it is F11,
  // which leaves it for the 640 × 480 canvas.
  await tap('Full screen');
  await until(page, function screenTaken() {
    return document.fullscreenElement !== null;
  });
  // The button moves to the screen's corner as the page grows to the screen, which the window
  // system may finish well after the page is in full screen: tap it once the program fills it.
  const screen = await page.evaluate(() => ({width: screen.width, height: screen.height}));
  await awaitCanvas(page, {x: 0, y: 0, ...screen}, scale);
  at['Full screen'] = (await buttons())[kLabels.indexOf('Full screen')];
  await tap('Full screen');
  await until(page, function screenLeft() {
    return document.fullscreenElement === null;
  }, [], {describe: () => ({page: [innerWidth, innerHeight], screen: [screen.width, screen.height],
                            button: document.getElementById('screen').getBoundingClientRect()})});
  await awaitCanvas(page, {x: 100, y: 100, width: 640, height: 480}, scale);
  assertQuiet(messages, 'nothing on the console');
  console.log(`${program}: all touch checks passed`);
});
