// The browser build as a person meets it, in Debian's headless Chromium: the title lit and whole
// from the first frame, at the window's real pixel size; the menu; a two-player move placed with
// the mouse on the square the camera puts there; a board colour set in the configuration that
// survives a reload; quitting and starting again; two tabs saving at once (the last one's whole
// file is read next); one frame drawn for each picture the browser shows; a browser without
// WebGL2; and no error on the page.
//
//   node browser_test.mjs SITE_DIR OUT_DIR SCREEN_POINT_JS
//
// SCREEN_POINT_JS is the e2e_screen_point helper built for node: where a logical or world point
// shows in a window of a given size, worked out apart from the program's own picking.
// Screenshots go to OUT_DIR for people to look at.
import fs from 'node:fs';
import path from 'node:path';
import { brightness, colourAt } from './png.mjs';
import { countFrames, runInChromium, screenPoint, screenshot } from './harness.mjs';

const [siteDir, outDir, screenPointJs] = process.argv.slice(2);
if (!siteDir || !outDir || !screenPointJs) {
  console.error('usage: node browser_test.mjs SITE_DIR OUT_DIR SCREEN_POINT_JS');
  process.exit(2);
}
fs.mkdirSync(outDir, { recursive: true });

const width = 640;
const height = 480;
const problems = [];
const pageErrors = [];

function fail(message) {
  throw new Error(message);
}

const point = (kind, ...values) => screenPoint(screenPointJs, width, height, kind, ...values);

const shot = (page, name) => screenshot(page, path.join(outDir, `${name}.png`));

// A screenshot `name` that `ready` accepts, taken again until it does, for at most `seconds`.
async function waitForShot(page, name, ready, seconds = 30) {
  const until = Date.now() + seconds * 1000;
  let image = null;
  for (;;) {
    image = await shot(page, name);
    if (ready(image)) return image;
    if (Date.now() > until) fail(`${name}: the screen never became what was expected`);
    await new Promise((resolve) => setTimeout(resolve, 250));
  }
}

const lit = (image) => brightness(image) > 0.02;

// Keys are held for a moment: the game reads which keys are down once a frame.
async function press(page, ...keys) {
  for (const key of keys) {
    await page.keyboard.down(key);
    await new Promise((resolve) => setTimeout(resolve, 150));
    await page.keyboard.up(key);
    await new Promise((resolve) => setTimeout(resolve, 200));
  }
}

async function click(page, at) {
  await page.mouse.move(at.x, at.y);
  await new Promise((resolve) => setTimeout(resolve, 150));
  await page.mouse.down();
  await new Promise((resolve) => setTimeout(resolve, 120));
  await page.mouse.up();
  await new Promise((resolve) => setTimeout(resolve, 250));
}

function watchErrors(page, label) {
  page.on('pageerror', (error) => pageErrors.push(`${label}: ${error.message}`));
  page.on('console', (message) => {
    if (message.type() === 'error') pageErrors.push(`${label}: console: ${message.text()}`);
  });
}

async function openGame(browser, origin, label, viewport = { width, height, deviceScaleFactor: 1 }) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  watchErrors(page, label);
  await page.goto(`${origin}/index.html`);
  return page;
}

async function settingsFile(page) {
  return page.evaluate(() => {
    try {
      return Module.FS.readFile('/home/web_user/.config/Bellwick/Octavane/settings.reg',
        { encoding: 'utf8' });
    } catch (error) {
      return '';
    }
  });
}

// The page's canvas and the window in real pixels, as the program sees them.
async function canvasSize(page) {
  return page.evaluate(() => ({
    canvas: [Module.canvas.width, Module.canvas.height],
    window: [Math.round(innerWidth * devicePixelRatio), Math.round(innerHeight * devicePixelRatio)],
    scroll: [document.documentElement.scrollWidth, document.documentElement.scrollHeight],
    inner: [innerWidth, innerHeight],
  }));
}

// Square (2, 3), centred at world (-210, -70): probes round the top of a disc there, clear of
// the pointer that stands over its middle once the mouse is on it.
const squareCentre = () => point('world', -210, -70, 0);
const squareProbes = () => [
  point('world', -240, -70, 20), point('world', -180, -70, 20),
  point('world', -210, -100, 20), point('world', -210, -40, 20),
];
const luminance = (c) => (c[0] + c[1] + c[2]) / 3;

async function firstVisit(browser, origin) {
  const page = await openGame(browser, origin, 'first visit');
  const title = await waitForShot(page, 'title', lit, 60);
  const size = await canvasSize(page);
  console.log(`title: brightness ${brightness(title).toFixed(3)}, canvas ${size.canvas}`);
  if (size.canvas[0] !== size.window[0] || size.canvas[1] !== size.window[1]) {
    fail(`the canvas is ${size.canvas} pixels in a window of ${size.window}`);
  }
  if (size.scroll[0] > size.inner[0] || size.scroll[1] > size.inner[1]) {
    fail(`the page scrolls: ${size.scroll} in ${size.inner}`);
  }
  // The whole title: the name in the middle and the line at the foot are both there.
  const name = brightness(title, 160, 172, 480, 240);
  const foot = brightness(title, 160, 440, 480, 480);
  if (name < 0.05 || foot < 0.01) fail(`the title is not whole: name ${name}, foot ${foot}`);

  await click(page, point('logical', 320, 330)); // anywhere on the title: the menu
  await waitForShot(page, 'menu', lit);
  await click(page, point('logical', 320, 356)); // "2 Players Game"
  await new Promise((resolve) => setTimeout(resolve, 2000)); // the game's opening wait
  const game = await waitForShot(page, 'game', lit);
  await click(page, squareCentre());
  const before = squareProbes().map((p) => luminance(colourAt(game, p.x, p.y)));
  const placed = await waitForShot(page, 'after-click', (image) =>
    squareProbes().every((p, i) => luminance(colourAt(image, p.x, p.y)) < before[i] - 20), 20);
  console.log('square (2, 3):', squareProbes().map((p, i) =>
    `${before[i].toFixed(0)} -> ${luminance(colourAt(placed, p.x, p.y)).toFixed(0)}`).join(', '));
  const boardBefore = colourAt(game, squareCentre().x, squareCentre().y);

  // Back to the title, then Config: the red step from 0 up to 3, saved on leaving.
  await press(page, 'Escape');
  await new Promise((resolve) => setTimeout(resolve, 600));
  await press(page, 'Space'); // the menu
  await press(page, 'ArrowDown', 'ArrowDown', 'ArrowDown', 'Space'); // "Config"
  await press(page, 'ArrowUp', 'ArrowUp', 'ArrowUp', 'ArrowUp', 'ArrowUp'); // "R"
  await press(page, 'ArrowRight', 'ArrowRight', 'ArrowRight');
  await shot(page, 'config');
  await press(page, 'Enter'); // back to the menu, saved
  const until = Date.now() + 10000;
  while (!(await settingsFile(page)).includes('"BoardR"=dword:00000003')) {
    if (Date.now() > until) fail(`the settings were not saved: ${await settingsFile(page)}`);
    await new Promise((resolve) => setTimeout(resolve, 200));
  }
  // The write to IndexedDB is under way; the next visit must find it.
  await page.evaluate(() => new Promise((resolve) => Module.octavaneWhenStored(resolve)));
  return { page, boardBefore };
}

async function secondVisit(page, boardBefore) {
  await page.reload();
  await waitForShot(page, 'reloaded-title', lit, 60);
  const stored = await settingsFile(page);
  if (!stored.includes('"BoardR"=dword:00000003')) {
    fail(`after the reload the settings read: ${JSON.stringify(stored)}`);
  }
  await press(page, 'Space', 'ArrowDown', 'ArrowDown', 'Space'); // "2 Players Game"
  await new Promise((resolve) => setTimeout(resolve, 2000));
  const game = await waitForShot(page, 'reloaded-game', lit);
  const boardAfter = colourAt(game, squareCentre().x, squareCentre().y);
  console.log(`board at square (2, 3): ${boardBefore.map(Math.round)} before, ` +
    `${boardAfter.map(Math.round)} with red at 3`);
  if (!(boardAfter[0] > boardBefore[0] + 20)) fail('the board is not redder after the reload');

  // Escape to the title, Escape to quit: the page says so, and a key starts the game again.
  await press(page, 'Escape');
  await new Promise((resolve) => setTimeout(resolve, 600));
  await press(page, 'Escape');
  await page.waitForFunction(() => window.octavaneMessage === 'The game has ended.',
    { timeout: 15000 });
  await shot(page, 'ended');
  const navigation = page.waitForNavigation({ timeout: 15000 });
  await new Promise((resolve) => setTimeout(resolve, 500));
  await press(page, 'Space');
  await navigation;
  await waitForShot(page, 'started-again', lit, 60);
}

// A wide window on a screen of twice the pixel density: the canvas at the real pixel size and
// the 4:3 picture in the middle, black bars at the sides.
async function wideWindow(browser, origin) {
  const page = await openGame(browser, origin, 'wide window',
    { width: 800, height: 450, deviceScaleFactor: 2 });
  const image = await waitForShot(page, 'wide-title', lit, 60);
  const size = await canvasSize(page);
  console.log(`wide: canvas ${size.canvas}, screenshot ${image.width}x${image.height}`);
  if (size.canvas[0] !== 1600 || size.canvas[1] !== 900) {
    fail(`at 800x450 and pixel ratio 2 the canvas is ${size.canvas}, not 1600,900`);
  }
  // The picture is 1200 wide, from x = 200; the bars on either side stay black.
  const left = brightness(image, 0, 0, 190, 900);
  const right = brightness(image, 1410, 0, 1600, 900);
  const middle = brightness(image, 200, 0, 1400, 900);
  console.log(`wide: bars ${left.toFixed(4)} and ${right.toFixed(4)}, picture ${middle.toFixed(3)}`);
  if (left > 0.002 || right > 0.002 || middle < 0.02) fail('the picture is not in the middle');
  await page.close();
}

// Two tabs at once, each changing another colour and saving: the next visit reads the whole
// file of one of them (the last to save), never a mix of the two.
async function twoTabs(browser, origin) {
  const first = await openGame(browser, origin, 'first tab');
  await waitForShot(first, 'tab-1', lit, 60);
  const second = await openGame(browser, origin, 'second tab');
  await waitForShot(second, 'tab-2', lit, 60);
  const configure = async (page, keys) => {
    await page.bringToFront();
    await press(page, 'Space', 'ArrowDown', 'ArrowDown', 'ArrowDown', 'Space'); // "Config"
    await press(page, 'ArrowUp', 'ArrowUp', 'ArrowUp', 'ArrowUp', 'ArrowUp', ...keys); // R, then keys
    await press(page, 'Enter');
  };
  await configure(first, ['ArrowRight', 'ArrowRight']); // R 3 -> 5
  await configure(second, ['ArrowDown', 'ArrowLeft', 'ArrowLeft', 'ArrowLeft']); // G 7 -> 4
  for (const page of [first, second]) {
    await page.evaluate(() => new Promise((resolve) => Module.octavaneWhenStored(resolve)));
  }
  const saved = [await settingsFile(first), await settingsFile(second)];
  await first.close();
  await second.close();
  const next = await openGame(browser, origin, 'after two tabs');
  await waitForShot(next, 'after-two-tabs', lit, 60);
  const stored = await settingsFile(next);
  await next.close();
  console.log(`two tabs: the next visit reads ${JSON.stringify(stored)}`);
  if (!saved[0].includes('"BoardR"=dword:00000005') || !saved[1].includes('"BoardG"=dword:00000004')) {
    fail(`the tabs did not save what they set: ${JSON.stringify(saved)}`);
  }
  if (stored !== saved[1]) fail('the next visit does not read the file the last tab saved');
}

// The browser's pictures slowed to five a second (its animation frames held back and let go
// together): the page draws one frame for each of them, not the frames that would never be shown
// and that a software GPU would fall behind with, stalling the page.
async function framesFollowTheDisplay(browser, origin) {
  const page = await browser.newPage();
  await page.setViewport({ width, height, deviceScaleFactor: 1 });
  watchErrors(page, 'slow display');
  await page.evaluateOnNewDocument(() => {
    const waiting = [];
    window.octavanePictures = 0;
    window.requestAnimationFrame = (callback) => waiting.push(callback);
    setInterval(() => {
      window.octavanePictures += 1;
      const now = performance.now();
      for (const callback of waiting.splice(0)) callback(now);
    }, 200);
  });
  await page.evaluateOnNewDocument(countFrames);
  await page.goto(`${origin}/index.html`);
  await waitForShot(page, 'slow-display-title', lit, 60);
  const count = () => page.evaluate(() => [window.octavaneFrames, window.octavanePictures]);
  const [frames0, pictures0] = await count();
  await new Promise((resolve) => setTimeout(resolve, 4000));
  const [frames1, pictures1] = await count();
  await page.close();
  const frames = frames1 - frames0;
  const pictures = pictures1 - pictures0;
  console.log(`slow display: ${frames} frames drawn for ${pictures} pictures shown`);
  if (frames > pictures + 2) fail(`${frames} frames were drawn for ${pictures} pictures`);
  if (frames < pictures / 2) fail(`only ${frames} frames were drawn for ${pictures} pictures`);
}

// A browser without WebGL2: a sentence in the page instead of the game, and no error.
async function withoutWebGL2(browser, origin) {
  const page = await browser.newPage();
  await page.setViewport({ width, height, deviceScaleFactor: 1 });
  watchErrors(page, 'without WebGL2');
  await page.evaluateOnNewDocument(() => {
    const getContext = HTMLCanvasElement.prototype.getContext;
    HTMLCanvasElement.prototype.getContext = function (type, ...rest) {
      return type === 'webgl2' ? null : getContext.call(this, type, ...rest);
    };
  });
  await page.goto(`${origin}/index.html`);
  await page.waitForFunction(() => (window.octavaneMessage || '').includes('WebGL2'),
    { timeout: 15000 });
  const image = await shot(page, 'without-webgl2');
  if (brightness(image) < 0.005) fail('the page without WebGL2 is blank');
  await page.close();
}

await runInChromium('browser test', siteDir, outDir, problems, pageErrors, async (browser, server) => {
  const { page, boardBefore } = await firstVisit(browser, server.origin);
  await secondVisit(page, boardBefore);
  await page.close();
  await wideWindow(browser, server.origin);
  await twoTabs(browser, server.origin);
  await framesFollowTheDisplay(browser, server.origin);
  await withoutWebGL2(browser, server.origin);
});
