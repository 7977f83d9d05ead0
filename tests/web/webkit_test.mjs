// The site in WebKitGTK, Safari's engine, through its WebDriver (WebKitWebDriver) on an X server
// (run under xvfb-run): a two-player game to a forced pass with every tap and the page's "Pass"
// made by WebDriver pointer actions of the touch kind. A desktop WebKitGTK has no touch events,
// so those arrive as clicks; the page is asked for its touch layout (`?touch`) so that its
// controls show. Touch itself is tested in Chromium (touch_test.mjs).
//
//   node webkit_test.mjs SITE_DIR OUT_DIR SCREEN_POINT_JS
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import path from 'node:path';
import { colourAt, decodePng } from './png.mjs';
import { serveSite } from './harness.mjs';

const [siteDir, outDir, screenPointJs] = process.argv.slice(2);
if (!siteDir || !outDir || !screenPointJs) {
  console.error('usage: node webkit_test.mjs SITE_DIR OUT_DIR SCREEN_POINT_JS');
  process.exit(2);
}
fs.mkdirSync(outDir, { recursive: true });

const driverPath = process.env.WEBKIT_DRIVER || '/usr/bin/WebKitWebDriver';
const browserPath = process.env.WEBKIT_BROWSER ||
  '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const toForcedPass = [[3, 2], [2, 2], [1, 2], [1, 1], [5, 4], [0, 2], [0, 0], [2, 0]];
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const luminance = (c) => (c[0] + c[1] + c[2]) / 3;

function fail(message) {
  throw new Error(message);
}

for (const [tool, file] of [['WebKitWebDriver', driverPath], ['MiniBrowser', browserPath]]) {
  if (!fs.existsSync(file)) {
    console.error(`webkit test: ${tool} (${file}) is missing: scripts/install-deps web ` +
      'installs webkit2gtk-driver');
    process.exit(1);
  }
}
if (!process.env.DISPLAY) {
  console.error('webkit test: no X display (DISPLAY): run it under xvfb-run (Debian\'s xvfb)');
  process.exit(1);
}

function freePort() {
  return new Promise((resolve) => {
    const server = net.createServer();
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

let base = '';
async function call(method, route, body) {
  const response = await fetch(`${base}${route}`, {
    method,
    headers: { 'Content-Type': 'application/json' },
    body: body === undefined ? undefined : JSON.stringify(body),
  });
  const answer = await response.json();
  if (!response.ok) fail(`WebDriver ${method} ${route}: ${JSON.stringify(answer.value)}`);
  return answer.value;
}

let session = '';
const script = (source, ...args) =>
  call('POST', `/session/${session}/execute/sync`, { script: source, args });

async function shot(name) {
  const data = Buffer.from(await call('GET', `/session/${session}/screenshot`), 'base64');
  fs.writeFileSync(path.join(outDir, `${name}.png`), data);
  const image = decodePng(data);
  image.ratio = image.width / (await script('return window.innerWidth;'));
  return image;
}

const cache = new Map();
async function point(kind, ...values) {
  const box = await script(`const r = document.getElementById('canvas').getBoundingClientRect();
    return [r.left, r.top, Math.round(r.width), Math.round(r.height)];`);
  const key = [box[2], box[3], kind, ...values].join(' ');
  if (!cache.has(key)) {
    const out = execFileSync(process.execPath,
      [screenPointJs, String(box[2]), String(box[3]), kind, ...values.map(String)]);
    cache.set(key, out.toString().trim().split(/\s+/).map(Number));
  }
  const [x, y] = cache.get(key);
  return { x: Math.round(box[0] + x), y: Math.round(box[1] + y) };
}

// A tap made by a WebDriver pointer of the touch kind.
async function tap(at) {
  await call('POST', `/session/${session}/actions`, {
    actions: [{
      type: 'pointer', id: 'finger', parameters: { pointerType: 'touch' },
      actions: [
        { type: 'pointerMove', duration: 0, x: at.x, y: at.y, origin: 'viewport' },
        { type: 'pointerDown', button: 0 }, { type: 'pause', duration: 80 },
        { type: 'pointerUp', button: 0 },
      ],
    }],
  });
  await call('DELETE', `/session/${session}/actions`);
  await sleep(300);
}

async function shownControls() {
  return script(`return [...document.querySelectorAll('.controls button')]
    .filter((b) => !b.hidden && b.getClientRects().length > 0)
    .map((b) => b.getAttribute('aria-label')).filter((n) => n !== 'Full screen');`);
}

async function waitForControls(wanted, label, seconds = 20) {
  const until = Date.now() + seconds * 1000;
  for (;;) {
    const shown = (await shownControls()).sort();
    if (JSON.stringify(shown) === JSON.stringify([...wanted].sort())) return;
    if (Date.now() > until) fail(`${label}: the controls shown are ${shown}, not ${wanted}`);
    await sleep(200);
  }
}

async function tapControl(name) {
  const at = await script(`const b = [...document.querySelectorAll('.controls button')]
    .find((b) => b.getAttribute('aria-label') === arguments[0] && !b.hidden);
    if (!b) return null;
    const r = b.getBoundingClientRect();
    return { x: Math.round(r.left + r.width / 2), y: Math.round(r.top + r.height / 2) };`, name);
  if (!at) fail(`"${name}" is not shown`);
  await tap(at);
}

const squareWorld = (column, row) => [(column - 3.5) * 140, (row - 3.5) * 140];
async function squareLuminance(image, column, row) {
  const [x, y] = squareWorld(column, row);
  let sum = 0;
  for (const [dx, dy] of [[-30, 0], [30, 0], [0, -30], [0, 30]]) {
    const p = await point('world', x + dx, y + dy, 20);
    sum += luminance(colourAt(image, p.x * image.ratio, p.y * image.ratio));
  }
  return sum / 4;
}

async function waitForDisc(column, row, disc, board) {
  const until = Date.now() + 30000;
  for (;;) {
    const value = await squareLuminance(await shot('webkit-ply'), column, row);
    const found = value < board - 25 ? 'black' : value > board + 40 ? 'white' : '';
    if (found === disc) return;
    if (Date.now() > until) fail(`no ${disc} disc on (${column}, ${row}): '${found}'`);
    await sleep(300);
  }
}

const server = await serveSite(siteDir);
const port = await freePort();
const driver = spawn(driverPath, [`--port=${port}`], { stdio: 'ignore' });
base = `http://127.0.0.1:${port}`;
let failure = null;
try {
  for (let i = 0; ; ++i) {
    try {
      await fetch(`${base}/status`);
      break;
    } catch (error) {
      if (i > 50) fail('WebKitWebDriver does not answer');
      await sleep(100);
    }
  }
  session = (await call('POST', '/session', {
    capabilities: { alwaysMatch: { 'webkitgtk:browserOptions': {
      binary: browserPath, args: ['--automation'],
    } } },
  })).sessionId;
  await call('POST', `/session/${session}/url`, { url: `${server.origin}/index.html?touch` });
  const until = Date.now() + 90000;
  while (!(await shot('webkit-title')).pixels.some((v) => v > 100)) {
    if (Date.now() > until) fail('the title never showed');
    await sleep(500);
  }
  await sleep(1000);
  await waitForControls([], 'the title');
  await tap(await point('logical', 320, 330));
  await waitForControls(['Back'], 'the menu');
  await tap(await point('logical', 320, 356)); // "2 Players Game"
  await waitForControls(['Back', 'Undo', 'Redo', 'Hint', 'Marks', 'Copy', 'Paste'], 'the game');
  await sleep(2000);
  const board = await squareLuminance(await shot('webkit-game'), 2, 3);
  let disc = 'black';
  for (const [column, row] of toForcedPass) {
    const [x, y] = squareWorld(column, row);
    await tap(await point('world', x, y, 0));
    await waitForDisc(column, row, disc, board);
    await sleep(1600);
    disc = disc === 'black' ? 'white' : 'black';
  }
  await waitForControls(['Back', 'Undo', 'Redo', 'Hint', 'Marks', 'Copy', 'Pass'],
    'the forced pass');
  await shot('webkit-forced-pass');
  await tapControl('Pass');
  await waitForControls(['Back', 'Undo', 'Redo', 'Hint', 'Marks', 'Copy'], 'after the pass');
  await shot('webkit-passed');
} catch (error) {
  failure = error;
} finally {
  if (session) {
    await call('DELETE', `/session/${session}`).catch(() => {});
  }
  driver.kill();
  server.close();
}
if (failure) {
  console.error(`webkit test: failed\n  ${failure.message}`);
  process.exit(1);
}
console.log(`webkit test: passed (screenshots in ${outDir})`);
