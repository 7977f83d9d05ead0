// The site in Firefox ESR, driven by puppeteer-core over WebDriver BiDi on an X server (run
// under xvfb-run: headless Firefox offers no WebGL2 here): the title whole and lit, and by the
// keys the menu, "2 Players Game" and Black's first move.
//
//   node firefox_test.mjs SITE_DIR OUT_DIR SCREEN_POINT_JS
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';
import { brightness, colourAt } from './png.mjs';
import { screenPoint, screenshot, serveSite } from './harness.mjs';

const [siteDir, outDir, screenPointJs] = process.argv.slice(2);
if (!siteDir || !outDir || !screenPointJs) {
  console.error('usage: node firefox_test.mjs SITE_DIR OUT_DIR SCREEN_POINT_JS');
  process.exit(2);
}
fs.mkdirSync(outDir, { recursive: true });
const firefoxPath = process.env.FIREFOX || '/usr/bin/firefox-esr';
if (!fs.existsSync(firefoxPath)) {
  console.error(`firefox test: ${firefoxPath} is missing: scripts/install-deps web installs ` +
    'firefox-esr');
  process.exit(1);
}
if (!process.env.DISPLAY) {
  console.error('firefox test: no X display (DISPLAY): run it under xvfb-run (Debian\'s xvfb)');
  process.exit(1);
}

const width = 640;
const height = 480;
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const luminance = (c) => (c[0] + c[1] + c[2]) / 3;

const point = (kind, ...values) => screenPoint(screenPointJs, width, height, kind, ...values);

const shot = (page, name) => screenshot(page, path.join(outDir, `${name}.png`));

// A key held past its first repeat (half a second) steps the menu twice, as it should. A press
// sent as two commands, down and then up, is held for as long as Firefox takes to answer the
// first, which on a busy X server can pass that; one action sequence sends both at once, and the
// game takes a key pressed and let go between two of its frames.
async function press(page, key) {
  await page.keyboard.press(key);
  await sleep(400);
}

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'octavane-firefox-'));
const server = await serveSite(siteDir);
const browser = await puppeteer.launch({
  product: 'firefox', protocol: 'webDriverBiDi', executablePath: firefoxPath, headless: false,
  userDataDir: profile, extraPrefsFirefox: { 'media.autoplay.default': 0 },
});
const errors = [];
let failure = null;
try {
  const page = await browser.newPage();
  page.on('pageerror', (error) => errors.push(error.message));
  await page.setViewport({ width, height });
  await page.goto(`${server.origin}/index.html`);
  const until = Date.now() + 90000;
  let title = await shot(page, 'firefox-title');
  while (brightness(title, 160, 172, 480, 240) < 0.05) {
    if (Date.now() > until) throw new Error('the title never showed');
    await sleep(500);
    title = await shot(page, 'firefox-title');
  }
  if (brightness(title, 160, 440, 480, 480) < 0.01) throw new Error('the title has no foot');
  // The pointer off the picture: the menu follows a pointer over its lines, and the X server's
  // pointer may rest on one.
  await page.mouse.move(1, 1);
  await sleep(500);
  await press(page, ' '); // the menu (puppeteer's Space here)
  // Up to the first line whatever the X server's pointer selected on its way, then down to
  // "2 Players Game".
  for (const key of ['ArrowUp', 'ArrowUp', 'ArrowUp', 'ArrowUp', 'ArrowDown', 'ArrowDown', ' ']) {
    await press(page, key);
  }
  // The board of a new game: the empty square (2, 3) lit, a white disc on (3, 3), a black one
  // on (4, 3) (each probed round the top of where a disc lies, clear of the pointer).
  const probe = (column, row) => [[-30, 0], [30, 0], [0, -30], [0, 30]].map(([dx, dy]) =>
    point('world', (column - 3.5) * 140 + dx, (row - 3.5) * 140 + dy, 20));
  const square = (image, column, row) =>
    probe(column, row).reduce((sum, p) => sum + luminance(colourAt(image, p.x, p.y)), 0) / 4;
  const waitFor = async (name, ready, what) => {
    const until = Date.now() + 30000;
    for (;;) {
      const image = await shot(page, name);
      if (ready(image)) return;
      if (Date.now() > until) throw new Error(`${what} never showed`);
      await sleep(300);
    }
  };
  await waitFor('firefox-game', (image) => square(image, 2, 3) > 30 &&
    square(image, 3, 3) > square(image, 2, 3) + 30 && square(image, 4, 3) < square(image, 2, 3) - 20,
  'the board of a new game');
  await sleep(500);
  // Black's first move by the keys: the cursor starts on (3, 3); Up, then Space on (3, 2).
  await press(page, 'ArrowUp');
  await press(page, ' ');
  await waitFor('firefox-move', (image) => square(image, 2, 3) > 30 &&
    square(image, 3, 2) < square(image, 2, 3) - 20 && square(image, 3, 3) < square(image, 2, 3) - 20,
  'a black disc on (3, 2) and the one it turned on (3, 3)');
} catch (error) {
  failure = error;
} finally {
  await browser.close();
  server.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
if (failure || errors.length > 0) {
  console.error(`firefox test: failed\n  ${[failure && failure.message, ...errors]
    .filter(Boolean).join('\n  ')}`);
  process.exit(1);
}
console.log(`firefox test: passed (screenshots in ${outDir})`);
