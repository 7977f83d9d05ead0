// The browser build in Debian's headless Chromium, by mouse and keys: the title whole, a
// two-player move on the square the camera puts there, a board colour that survives a reload,
// quitting and starting again (also on a first visit), two tabs saving at once, one frame drawn
// for each picture the browser shows, no WebGL2, and no error on the page.
//
//   node browser_test.mjs SITE_DIR OUT_DIR SCREEN_POINT_JS
import { brightness } from './png.mjs';
import {
  canvasBox, colourOf, lit, play, point, puppeteerView, shot, squareLuminance, tap, waitForShot,
} from './board.mjs';
import {
  countFrames, fail, openPage, pageFile, press, runTest, sleep, testArgs, waitForFile, whenStored,
  withChromium,
} from './harness.mjs';

const [siteDir, outDir, screenPointJs] =
  testArgs('browser_test.mjs', 'SITE_DIR', 'OUT_DIR', 'SCREEN_POINT_JS');
const problems = [];
const settings = '/home/web_user/.config/Bellwick/Octavane/settings.reg';
const settingsFile = (page) => pageFile(page, settings);
const toConfig = ['Space', 'ArrowDown', 'ArrowDown', 'ArrowDown', 'Space'];
const upToRed = ['ArrowUp', 'ArrowUp', 'ArrowUp', 'ArrowUp', 'ArrowUp'];

// A new page of the site, shown once the picture is lit.
async function openGame(browser, origin, label, options) {
  const page = await openPage(browser, origin, label, problems, options);
  const view = puppeteerView(page, outDir, screenPointJs, false);
  return { page, view, title: await waitForShot(view, label, lit, 'a lit picture', 60) };
}

// The red step set from 0 to 3 is saved, survives a reload and shows on the board.
async function visits(browser, origin) {
  const { page, view, title } = await openGame(browser, origin, 'title');
  const name = brightness(title, 160, 172, 480, 240);
  const foot = brightness(title, 160, 440, 480, 480);
  if (name < 0.05 || foot < 0.01) fail(`the title is not whole: name ${name}, foot ${foot}`);
  // The text shaper is readied while the page loads, once: a hundred measures or so bring the
  // browser's full compile of it forward, out of the game.
  const measures = () => page.evaluate(() => Module.octavaneShaperMeasures || 0);
  const atTitle = await measures();
  if (atTitle < 100) fail(`the shaper was measured ${atTitle} times before the title`);
  const box = await canvasBox(view);
  await tap(view, point(view, box, 'logical', 320, 330)); // the menu
  await waitForShot(view, 'menu', lit, 'the menu');
  await tap(view, point(view, box, 'logical', 320, 356)); // "2 Players Game"
  await sleep(2000); // the game's opening wait
  const game = await waitForShot(view, 'game', lit, 'the game');
  await play(view, 'after-click', 2, 3, 'black', squareLuminance(view, game, 2, 3));
  const boardBefore = colourOf(view, game, 2, 'world', -210, -70, 0);
  if ((await measures()) !== atTitle) fail('the shaper was readied again in the game');

  await press(page, 'Escape');
  await sleep(600);
  await press(page, ...toConfig, ...upToRed, 'ArrowRight', 'ArrowRight', 'ArrowRight');
  await shot(view, 'config');
  await press(page, 'Enter'); // back to the menu, saved
  await waitForFile(page, settings, (t) => t.includes('"BoardR"=dword:00000003'), 'saved', 10);
  await whenStored(page);
  await page.reload();
  await waitForShot(view, 'reloaded-title', lit, 'the title after the reload', 60);
  await press(page, 'Space', 'ArrowDown', 'ArrowDown', 'Space'); // "2 Players Game"
  await sleep(2000);
  const again = await waitForShot(view, 'reloaded-game', lit, 'the game after the reload');
  const boardAfter = colourOf(view, again, 2, 'world', -210, -70, 0);
  console.log(`board: ${boardBefore.map(Math.round)} before, ${boardAfter.map(Math.round)} after`);
  if (!(boardAfter[0] > boardBefore[0] + 20)) fail('the board is not redder after the reload');
  await press(page, 'Escape'); // a game left open would come back on the next visit
  await sleep(600);
  await whenStored(page);
  await page.close();
}

// A first visit (nothing stored yet) left from the title at once: the settings are saved for the
// first time on the way out, the page says the game ended, and a key starts it again.
async function firstVisitLeaves(browser, origin) {
  const context = await browser.createBrowserContext();
  const { page, view } = await openGame(context, origin, 'first-visit');
  await press(page, 'Escape');
  await page.waitForFunction(() => window.octavaneMessage === 'The game has ended.',
    { timeout: 15000 });
  await shot(view, 'ended');
  const navigation = page.waitForNavigation({ timeout: 15000 });
  await sleep(500);
  await press(page, 'Space');
  await navigation;
  await waitForShot(view, 'started-again', lit, 'the game started again', 60);
  await context.close();
}

// Two tabs each change a colour and save (R 3 -> 5, G 7 -> 4): the next visit reads the whole
// file of the last to save, never a mix of the two.
async function twoTabs(browser, origin) {
  const tabs = [await openGame(browser, origin, 'tab-1'), await openGame(browser, origin, 'tab-2')];
  const steps = [['ArrowRight', 'ArrowRight'], ['ArrowDown', 'ArrowLeft', 'ArrowLeft', 'ArrowLeft']];
  for (const [i, { page }] of tabs.entries()) {
    await page.bringToFront();
    await press(page, ...toConfig, ...upToRed, ...steps[i], 'Enter');
  }
  for (const { page } of tabs) await whenStored(page);
  const saved = [await settingsFile(tabs[0].page), await settingsFile(tabs[1].page)];
  for (const { page } of tabs) await page.close();
  const next = await openGame(browser, origin, 'after-two-tabs');
  const stored = await settingsFile(next.page);
  await next.page.close();
  if (!saved[0].includes('"BoardR"=dword:00000005') || !saved[1].includes('"BoardG"=dword:00000004')) {
    fail(`the tabs did not save what they set: ${JSON.stringify(saved)}`);
  }
  if (stored !== saved[1]) fail(`the next visit reads ${JSON.stringify(stored)}`);
}

// The browser's pictures slowed to five a second (its animation frames held back and let go
// together): the page draws one frame for each, not frames never shown that a slow GPU lags on.
function slowPictures() {
  const waiting = [];
  window.octavanePictures = 0;
  window.requestAnimationFrame = (callback) => waiting.push(callback);
  setInterval(() => {
    window.octavanePictures += 1;
    const now = performance.now();
    for (const callback of waiting.splice(0)) callback(now);
  }, 200);
}

async function framesFollowTheDisplay(browser, origin) {
  const { page } = await openGame(browser, origin, 'slow-display-title',
    { setUp: [slowPictures, countFrames] });
  const count = () => page.evaluate(() => [window.octavaneFrames, window.octavanePictures]);
  const [frames0, pictures0] = await count();
  await sleep(4000);
  const [frames1, pictures1] = await count();
  await page.close();
  const [frames, pictures] = [frames1 - frames0, pictures1 - pictures0];
  console.log(`slow display: ${frames} frames drawn for ${pictures} pictures shown`);
  if (frames > pictures + 2 || frames < pictures / 2) {
    fail(`${frames} frames were drawn for ${pictures} pictures`);
  }
}

// Without WebGL2: a sentence in the page instead of the game.
function hideWebGL2() {
  const getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function (type, ...rest) {
    return type === 'webgl2' ? null : getContext.call(this, type, ...rest);
  };
}

async function withoutWebGL2(browser, origin) {
  const page = await openPage(browser, origin, 'without WebGL2', problems, { setUp: [hideWebGL2] });
  await page.waitForFunction(() => (window.octavaneMessage || '').includes('WebGL2'),
    { timeout: 15000 });
  const image = await shot(puppeteerView(page, outDir), 'without-webgl2');
  if (brightness(image) < 0.005) fail('the page without WebGL2 is blank');
  await page.close();
}

await runTest('browser test', problems, () => withChromium(siteDir, async (browser, server) => {
  for (const steps of [visits, firstVisitLeaves, twoTabs, framesFollowTheDisplay, withoutWebGL2]) {
    await steps(browser, server.origin);
  }
}));
