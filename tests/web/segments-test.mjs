// segments-test.mjs FOLDER: the segments page (segments_fixed.html in FOLDER) drawn with smoothed
// segments widened on the GPU and again with float textures hidden, where the layer widens them:
// the two pictures must agree, the spokes that run behind the eye cut at the near plane and the
// segments shorter than a pixel among them.
import assert from 'node:assert/strict';

import {until, withPage} from './browser.mjs';

const [folder] = process.argv.slice(2);
const kLevels = 24;     // of 255
const kShare = 0.0005;  // of the pixels, the most that may differ by more than kLevels
const kLit = 0.01;      // of the pixels, the least that the segments must light

async function picture(onTheGpu) {
  const size = {width: 800, height: 600};
  return withPage(folder, 'segments_fixed.html', size, async (page, address) => {
    if (!onTheGpu) {
      await page.send('Page.addScriptToEvaluateOnNewDocument', {source: `
        const getExtension = WebGLRenderingContext.prototype.getExtension;
        WebGLRenderingContext.prototype.getExtension = function(name) {
          return name === 'OES_texture_float' ? null : getExtension.call(this, name);
        };`});
    }
    await page.goto(address);
    await until(page, function pictureKept() {
      return window.sculptPicture !== undefined;
    });
    assert.equal(await page.evaluate(() => Boolean(window.sculptGl.segments)), onTheGpu);
    return Buffer.from(await page.evaluate(() => {
      const pixels = window.sculptPicture.pixels;
      let text = '';
      for (let i = 0; i < pixels.length; i += 0x8000)
        text += String.fromCharCode.apply(null, pixels.subarray(i, i + 0x8000));
      return btoa(text);
    }), 'base64');
  });
}

const gpu = await picture(true), layer = await picture(false);
assert.equal(gpu.length, layer.length, 'the same size');
let past = 0, lit = 0;
for (let i = 0; i < gpu.length; i += 3) {
  let most = 0;
  for (let c = 0; c < 3; ++c) most = Math.max(most, Math.abs(gpu[i + c] - layer[i + c]));
  if (most > kLevels) ++past;
  if (layer[i] + layer[i + 1] + layer[i + 2] > 0) ++lit;
}
const n = gpu.length / 3;
console.log(`segments: ${(100 * lit / n).toFixed(2)} % of pixels lit; ` +
            `${(100 * past / n).toFixed(3)} % differ by more than ${kLevels}`);
assert.ok(lit / n >= kLit, 'the segments are drawn');
assert.ok(past / n <= kShare, 'the GPU widens segments as the layer does');
