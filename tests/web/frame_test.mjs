// The same frame from the browser and from the desktop build: the fixed scene of frame_scene,
// drawn by WebGL2 in headless Chromium and by OpenGL 3.3 under SDL's offscreen driver (both
// software renderers), compared pixel by pixel. Edges may land a pixel apart between two
// rasterisers; colours, lighting, fog, flat shading, text and placement may not differ.
//
//   node frame_test.mjs FRAME_PAGE_DIR DESKTOP_FRAME_SCENE OUT_DIR
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { decodePng } from './png.mjs';
import { launchBrowser, serveSite } from './harness.mjs';

const [pageDir, desktopProgram, outDir] = process.argv.slice(2);
if (!pageDir || !desktopProgram || !outDir) {
  console.error('usage: node frame_test.mjs FRAME_PAGE_DIR DESKTOP_FRAME_SCENE OUT_DIR');
  process.exit(2);
}
fs.mkdirSync(outDir, { recursive: true });

// A pixel differs when one of its channels is off by more than this; so few may differ.
const channelTolerance = 48;
const differingAllowed = 0.005;
const meanAllowed = 2.0;

if (!fs.existsSync(desktopProgram)) {
  console.error(`web frame test: ${desktopProgram} is missing: build the desktop's frame_scene ` +
    '(make test-web does) or set OCTAVANE_DESKTOP_BUILD');
  process.exit(1);
}
const desktopFile = path.join(outDir, 'frame-desktop.png');
execFileSync(desktopProgram, [desktopFile], { stdio: 'inherit' });
const desktop = decodePng(fs.readFileSync(desktopFile));

const browserFile = path.join(outDir, 'frame-browser.png');
const server = await serveSite(pageDir);
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'octavane-chromium-'));
const browser = await launchBrowser(profile);
const errors = [];
try {
  const page = await browser.newPage();
  page.on('pageerror', (error) => errors.push(error.message));
  page.on('console', (message) => {
    if (message.type() === 'error') errors.push(message.text());
  });
  await page.setViewport({ width: 640, height: 480, deviceScaleFactor: 1 });
  await page.goto(`${server.origin}/frame.html`);
  await page.waitForFunction(() => window.frameSceneDrawn === true, { timeout: 60000 });
  await page.screenshot({ path: browserFile });
} finally {
  await browser.close();
  server.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
const inBrowser = decodePng(fs.readFileSync(browserFile));

if (desktop.width !== inBrowser.width || desktop.height !== inBrowser.height) {
  console.error(`web frame test: the desktop frame is ${desktop.width}x${desktop.height}, ` +
    `the browser's ${inBrowser.width}x${inBrowser.height}`);
  process.exit(1);
}
let differing = 0;
let total = 0;
let lit = 0;
const diff = Buffer.alloc(desktop.width * desktop.height);
for (let i = 0; i < desktop.width * desktop.height; ++i) {
  let worst = 0;
  for (let c = 0; c < 3; ++c) {
    const d = Math.abs(desktop.pixels[i * desktop.channels + c] -
      inBrowser.pixels[i * inBrowser.channels + c]);
    total += d;
    worst = Math.max(worst, d);
    if (desktop.pixels[i * desktop.channels + c] > 16) ++lit;
  }
  if (worst > channelTolerance) {
    ++differing;
    diff[i] = 255;
  }
}
const pixels = desktop.width * desktop.height;
const mean = total / (3 * pixels);
console.log(`frames ${desktop.width}x${desktop.height}: ${differing} pixels differ by more than ` +
  `${channelTolerance} (${(100 * differing / pixels).toFixed(2)}%), mean difference ` +
  `${mean.toFixed(2)} of 255; frames in ${outDir}`);
const problems = [...errors];
if (lit < pixels / 10) problems.push('the desktop frame is nearly black');
if (differing > differingAllowed * pixels) problems.push('too many pixels differ');
if (mean > meanAllowed) problems.push('the frames differ on the whole');
if (problems.length > 0) {
  console.error(`web frame test: failed\n  ${problems.join('\n  ')}`);
  process.exit(1);
}
console.log('web frame test: passed');
