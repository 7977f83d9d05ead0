// The site in the other engines a phone's browser may have, under xvfb-run, asked for its touch
// layout (`?touch`): the two-player game by taps to a forced pass, passed with "Pass".
//   - webkit: WebKitGTK (Safari's engine) through WebKitWebDriver; its taps WebDriver pointer
//     actions of the touch kind, which a desktop WebKitGTK turns into clicks.
//   - firefox: Firefox ESR by puppeteer-core over WebDriver BiDi, headed (headless Firefox has no
//     WebGL2 here); the picture played by keys (mouse clicks reach the page but not the game).
//
//   node engine_test.mjs webkit|firefox SITE_DIR OUT_DIR SCREEN_POINT_JS
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';
import { playToForcedPass, puppeteerView, waitForTitle } from './board.mjs';
import { fail, runTest, serveSite, sleep, testArgs } from './harness.mjs';

const [engine, siteDir, outDir, screenPointJs] =
  testArgs('engine_test.mjs', 'webkit|firefox', 'SITE_DIR', 'OUT_DIR', 'SCREEN_POINT_JS');
const tools = {
  webkit: [['WebKitWebDriver', process.env.WEBKIT_DRIVER || '/usr/bin/WebKitWebDriver'],
    ['MiniBrowser', process.env.WEBKIT_BROWSER ||
      '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser']],
  firefox: [['Firefox ESR', process.env.FIREFOX || '/usr/bin/firefox-esr']],
}[engine] || fail(`no engine ${engine}`);
const problems = [];

const freePort = () => new Promise((resolve) => {
  const server = net.createServer();
  server.listen(0, '127.0.0.1', () => {
    const { port } = server.address();
    server.close(() => resolve(port));
  });
});

// WebKitGTK's MiniBrowser at `address` through WebDriver over HTTP.
async function openWebKit(address) {
  const port = await freePort();
  const driver = spawn(tools[0][1], [`--port=${port}`], { stdio: 'ignore' });
  const base = `http://127.0.0.1:${port}`;
  const call = async (method, route, body) => {
    const response = await fetch(`${base}${route}`, {
      method, headers: { 'Content-Type': 'application/json' },
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    const answer = await response.json();
    if (!response.ok) fail(`WebDriver ${method} ${route}: ${JSON.stringify(answer.value)}`);
    return answer.value;
  };
  let session = '';
  const close = async () => {
    if (session) await call('DELETE', `/session/${session}`).catch(() => {});
    driver.kill();
  };
  try {
    for (let i = 0; !(await fetch(`${base}/status`).catch(() => null)); ++i) {
      if (i > 50) fail('WebKitWebDriver does not answer');
      await sleep(100);
    }
    session = (await call('POST', '/session', {
      capabilities: { alwaysMatch: { 'webkitgtk:browserOptions': {
        binary: tools[1][1], args: ['--automation'],
      } } },
    })).sessionId;
    await call('POST', `/session/${session}/url`, { url: address });
  } catch (error) {
    await close();
    throw error;
  }
  const at = `/session/${session}`;
  const view = {
    outDir, screenPointJs,
    run: (script, ...args) => call('POST', `${at}/execute/sync`, { script, args }),
    screenshot: async () => Buffer.from(await call('GET', `${at}/screenshot`), 'base64'),
    tap: async (x, y) => {
      await call('POST', `${at}/actions`, { actions: [{
        type: 'pointer', id: 'finger', parameters: { pointerType: 'touch' },
        actions: [{ type: 'pointerMove', duration: 0, x, y, origin: 'viewport' },
          { type: 'pointerDown', button: 0 }, { type: 'pause', duration: 80 },
          { type: 'pointerUp', button: 0 }],
      }] });
      await call('DELETE', `${at}/actions`);
    },
  };
  return { view, close };
}

async function openFirefox(address) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'octavane-firefox-'));
  const browser = await puppeteer.launch({
    product: 'firefox', protocol: 'webDriverBiDi', executablePath: tools[0][1], headless: false,
    userDataDir: profile, extraPrefsFirefox: { 'media.autoplay.default': 0 },
  });
  const close = async () => {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  const page = await browser.newPage();
  page.on('pageerror', (error) => problems.push(error.message));
  await page.setViewport({ width: 640, height: 480 });
  await page.goto(address);
  await page.mouse.move(1, 1); // off the picture: the menu follows a pointer over its lines
  const view = puppeteerView(page, outDir, screenPointJs, false);
  // One action sequence, down and up at once: sent as two commands, a key may be held past its
  // first repeat while a busy Firefox answers, and step twice.
  view.press = async (key) => {
    await page.keyboard.press(key);
    await sleep(400);
  };
  view.cursor = [3, 3]; // where the board's cursor starts
  return { view, close };
}

await runTest(`${engine} test`, problems, async () => {
  for (const [tool, file] of tools) {
    if (!fs.existsSync(file)) {
      fail(`${tool} (${file}) is missing: scripts/install-deps web installs it`);
    }
  }
  if (!process.env.DISPLAY) fail('no X display (DISPLAY): run it under xvfb-run (Debian\'s xvfb)');
  const server = await serveSite(siteDir);
  const { view, close } = await (engine === 'webkit' ? openWebKit : openFirefox)(
    `${server.origin}/index.html?touch`);
  try {
    await waitForTitle(view, `${engine}-title`);
    await sleep(1000);
    await playToForcedPass(view, engine);
  } finally {
    await close();
    server.close();
  }
});
