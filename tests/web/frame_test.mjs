// frame_scene's fixed frame from WebGL2 in headless Chromium and from the desktop's OpenGL 3.3
// offscreen (both software), pixel by pixel: edges may land a pixel apart between two
// rasterisers; colours, lighting, fog, flat shading, text and placement may not differ.
//
//   node frame_test.mjs FRAME_PAGE_DIR DESKTOP_FRAME_SCENE OUT_DIR
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { decodePng } from './png.mjs';
import { openPage, runTest, testArgs, withChromium } from './harness.mjs';

const [pageDir, desktopProgram, outDir] =
  testArgs('frame_test.mjs', 'FRAME_PAGE_DIR', 'DESKTOP_FRAME_SCENE', 'OUT_DIR');
// A pixel differs when one of its channels is off by more than this; so few may differ.
const channelTolerance = 48;
const differingAllowed = 0.005;
const meanAllowed = 2.0;
const problems = [];

await runTest('web frame test', problems, async () => {
  if (!fs.existsSync(desktopProgram)) {
    throw new Error(`${desktopProgram} is missing: build the desktop's frame_scene ` +
      '(make test-web does) or set OCTAVANE_DESKTOP_BUILD');
  }
  const desktopFile = path.join(outDir, 'frame-desktop.png');
  execFileSync(desktopProgram, [desktopFile], { stdio: 'inherit' });
  const desktop = decodePng(fs.readFileSync(desktopFile));
  const browserFile = path.join(outDir, 'frame-browser.png');
  await withChromium(pageDir, async (browser, server) => {
    const page = await openPage(browser, server.origin, 'frame page', problems,
      { address: '/frame.html' });
    await page.waitForFunction(() => window.frameSceneDrawn === true, { timeout: 60000 });
    await page.screenshot({ path: browserFile });
  });
  compare(desktop, decodePng(fs.readFileSync(browserFile)));
});

function compare(desktop, inBrowser) {
  const sizes = [desktop, inBrowser].map((image) => `${image.width}x${image.height}`);
  if (sizes[0] !== sizes[1]) return problems.push(`the frames are ${sizes.join(' and ')}`);
  const pixels = desktop.width * desktop.height;
  let [differing, total, lit] = [0, 0, 0];
  for (let i = 0; i < pixels; ++i) {
    let worst = 0;
    for (let c = 0; c < 3; ++c) {
      const value = desktop.pixels[i * desktop.channels + c];
      const d = Math.abs(value - inBrowser.pixels[i * inBrowser.channels + c]);
      total += d;
      worst = Math.max(worst, d);
      if (value > 16) ++lit;
    }
    if (worst > channelTolerance) ++differing;
  }
  const mean = total / (3 * pixels);
  console.log(`frames ${desktop.width}x${desktop.height}: ${differing} pixels differ by more than ` +
    `${channelTolerance} (${(100 * differing / pixels).toFixed(2)}%), mean difference ` +
    `${mean.toFixed(2)} of 255; frames in ${outDir}`);
  if (lit < pixels / 10) problems.push('the desktop frame is nearly black');
  if (differing > differingAllowed * pixels) problems.push('too many pixels differ');
  if (mean > meanAllowed) problems.push('the frames differ on the whole');
}
