// What the browser tests share: the site served on 127.0.0.1, Debian's Chromium headless without
// a GPU or a network, a test's arguments and its ending, pages, files and waits.
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

export const fail = (message) => { throw new Error(message); };

// The arguments `names` (exit 2 when one is missing); OUT_DIR, for the screenshots, is made.
export function testArgs(script, ...names) {
  const values = process.argv.slice(2);
  if (values.length < names.length) {
    console.error(`usage: node ${script} ${names.join(' ')}`);
    process.exit(2);
  }
  if (names.includes('OUT_DIR')) fs.mkdirSync(values[names.indexOf('OUT_DIR')], { recursive: true });
  return values;
}

// Runs `steps()` and ends the test: the problems it pushed or threw, or a pass.
export async function runTest(name, problems, steps) {
  await Promise.resolve().then(steps).catch((error) => problems.push(error.message));
  if (problems.length > 0) {
    console.error(`${name}: failed\n  ${problems.join('\n  ')}`);
    process.exit(1);
  }
  console.log(`${name}: passed`);
}

const types = { '.html': 'text/html; charset=utf-8', '.css': 'text/css', '.js': 'text/javascript',
  '.wasm': 'application/wasm', '.png': 'image/png', '.webmanifest': 'application/manifest+json' };

// Serves `folder` on a free port of 127.0.0.1 as static hosts do; setFolder(other) serves another
// from then on (a rebuilt site), setDown(true) drops every request (a lost network).
export function serveSite(folder) {
  let root = path.resolve(folder);
  let down = false;
  const server = http.createServer((request, response) => {
    if (down) return request.socket.destroy();
    let name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    if (name.endsWith('/')) name += 'index.html';
    const file = path.join(root, path.normalize(name).replace(/^(\.\.[/\\])+/, ''));
    if (!file.startsWith(root) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      return response.writeHead(404).end();
    }
    response.writeHead(200, {
      'Content-Type': types[path.extname(file)] || 'application/octet-stream',
      'Cache-Control': 'no-store',
    });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve({
    origin: `http://127.0.0.1:${server.address().port}`,
    close: () => { server.closeAllConnections(); server.close(); },
    setFolder: (other) => { root = path.resolve(other); },
    setDown: (value) => { down = value; },
  })));
}

export const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';

// WebGL2 by the software renderer (SwiftShader); no background connections, which this
// machine's closed network refuses.
export async function launchBrowser(profile) {
  if (!fs.existsSync(chromiumPath)) {
    throw new Error(`${chromiumPath} is missing: scripts/install-deps web installs chromium`);
  }
  return puppeteer.launch({
    executablePath: chromiumPath, headless: true, userDataDir: profile, args: [
      '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--autoplay-policy=no-user-gesture-required', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--disable-quic', '--no-first-run',
      '--disable-default-apps', '--disable-extensions', '--mute-audio',
    ],
  });
}

// Runs `steps(browser, server)` in a Chromium of its own with `folder` served.
export async function withChromium(folder, steps) {
  const server = await serveSite(folder);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'octavane-chromium-'));
  const browser = await launchBrowser(profile);
  try {
    await steps(browser, server);
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
}

// A new tab at `address` of the site, its errors watched; `setUp` scripts run before the page's.
export async function openPage(browser, origin, label, problems,
  { viewport = { width: 640, height: 480, deviceScaleFactor: 1 }, address = '/index.html',
    setUp = [] } = {}) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  page.on('pageerror', (error) => problems.push(`${label}: ${error.message}`));
  page.on('console', (message) => {
    if (message.type() === 'error') problems.push(`${label}: console: ${message.text()}`);
  });
  for (const script of setUp) await page.evaluateOnNewDocument(script);
  await page.goto(`${origin}${address}`);
  return page;
}

// A file of the page's file system as text, '' when there is none.
export const pageFile = (page, file) => page.evaluate((name) =>
  (Module.FS.analyzePath(name).exists ? Module.FS.readFile(name, { encoding: 'utf8' }) : ''), file);

// `attempt()`'s value once `ready` accepts it, tried for at most `seconds`.
export async function waitUntil(seconds, attempt, ready, what) {
  const until = Date.now() + seconds * 1000;
  for (;;) {
    const value = await attempt();
    if (await ready(value)) return value;
    if (Date.now() > until) fail(what(value));
    await sleep(200);
  }
}

export const waitForFile = (page, file, test, what, seconds = 60) =>
  waitUntil(seconds, () => pageFile(page, file), test,
    (text) => `${what}: ${path.basename(file)} reads ${JSON.stringify(text)}`);

// Resolves once what the page has stored is in IndexedDB.
export const whenStored = (page) =>
  page.evaluate(() => new Promise((resolve) => Module.octavaneWhenStored(resolve)));

// Keys are held for a moment: the game reads which keys are down once a frame.
export async function press(page, ...keys) {
  for (const key of keys) {
    await page.keyboard.down(key);
    await sleep(150);
    await page.keyboard.up(key);
    await sleep(200);
  }
}

// Counts the page's frames in window.octavaneFrames (for evaluateOnNewDocument): a frame starts
// by clearing the whole back buffer, with the scissor test off that the viewport's clears have on.
export function countFrames() {
  const original = HTMLCanvasElement.prototype.getContext;
  window.octavaneFrames = 0;
  HTMLCanvasElement.prototype.getContext = function (...args) {
    const context = original.apply(this, args);
    if (context && !context.octavaneCounted && args[0] === 'webgl2') {
      const clear = context.clear.bind(context);
      context.clear = (mask) => {
        if ((mask & context.COLOR_BUFFER_BIT) && !context.isEnabled(context.SCISSOR_TEST)) {
          window.octavaneFrames += 1;
        }
        clear(mask);
      };
      context.octavaneCounted = true;
    }
    return context;
  };
}
