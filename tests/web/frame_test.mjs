// The same frame from the browser and from the desktop build: the fixed scene of frame_scene,
// drawn by WebGL2 in headless Chromium and by OpenGL 3.3 under SDL's offscreen driver (both
// software renderers), compared pixel by pixel. Edges may land a pixel apart between two
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

// Edges may land a pixel apart; colours, light and placement may not.
function compare(desktop, inBrowser) {
  if (desktop.width !== inBrowser.width || desktop.height !== inBrowser.height) {
    problems.push(`the desktop frame is ${desktop.width}x${desktop.height}, ` +
      `the browser's ${inBrowser.width}x${inBrowser.height}`);
    return;
  }
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
