// The site in Firefox ESR, driven by puppeteer-core over WebDriver BiDi on an X server (run
// under xvfb-run: headless Firefox offers no WebGL2 here): the title whole and lit, Space to
// the menu, "2 Players Game" by the keys, and a move placed with the mouse.
//
//   node firefox_test.mjs SITE_DIR OUT_DIR SCREEN_POINT_JS
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';
import { brightness, colourAt, decodePng } from './png.mjs';
import { serveSite } from './harness.mjs';

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

function point(kind, ...values) {
  const out = execFileSync(process.execPath,
    [screenPointJs, String(width), String(height), kind, ...values.map(String)]);
  const [x, y] = out.toString().trim().split(/\s+/).map(Number);
  return { x, y };
}

async function shot(page, name) {
  const file = path.join(outDir, `${name}.png`);
  await page.screenshot({ path: file });
  return decodePng(fs.readFileSync(file));
}

async function press(page, key) {
  await page.keyboard.down(key);
  await sleep(150);
  await page.keyboard.up(key);
  await sleep(250);
}

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'octavane-firefox-'));
const server = await serveSite(siteDir);
const browser = await puppeteer.launch({
  browser: 'firefox', protocol: 'webDriverBiDi', executablePath: firefoxPath, headless: false,
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
  await sleep(500);
  await press(page, ' '); // the menu (puppeteer's Space here)
  await press(page, 'ArrowDown');
  await press(page, 'ArrowDown');
  await press(page, ' '); // "2 Players Game"
  await sleep(2500);
  // Black's first move, (3, 2): a click on its square puts a black disc there.
  const centre = point('world', -70, -210, 0);
  const probes = [[-30, 0], [30, 0], [0, -30], [0, 30]].map(([dx, dy]) =>
    point('world', -70 + dx, -210 + dy, 20));
  const before = await shot(page, 'firefox-game');
  const lit = (image) => probes.map((p) => luminance(colourAt(image, p.x, p.y)));
  const board = lit(before);
  await page.mouse.move(centre.x, centre.y);
  await sleep(150);
  await page.mouse.down();
  await sleep(120);
  await page.mouse.up();
  const moveUntil = Date.now() + 20000;
  for (;;) {
    const after = lit(await shot(page, 'firefox-move'));
    if (after.every((v, i) => v < board[i] - 20)) break;
    if (Date.now() > moveUntil) throw new Error(`no black disc on (3, 2): ${board} -> ${after}`);
    await sleep(300);
  }
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
