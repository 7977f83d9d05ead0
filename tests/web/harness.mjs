// What the browser tests share: the site served on 127.0.0.1, and Debian's Chromium started
// headless with flags that suit a machine without a GPU or a network, and a counter of the
// page's frames.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';
import { decodePng } from './png.mjs';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.css': 'text/css',
  '.js': 'text/javascript',
  '.mjs': 'text/javascript',
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// Serves `folder` on a free port of 127.0.0.1, a folder's address as its index.html, as static
// hosts do; resolves to { origin, close, setFolder, setDown }. setFolder(other) serves another
// folder from then on (a rebuilt site); setDown(true) drops every request, as a lost network.
export function serveSite(folder) {
  let root = path.resolve(folder);
  let down = false;
  const server = http.createServer((request, response) => {
    if (down) {
      request.socket.destroy();
      return;
    }
    let name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    if (name.endsWith('/')) name += 'index.html';
    const file = path.join(root, path.normalize(name).replace(/^(\.\.[/\\])+/, ''));
    if (!file.startsWith(root) || !fs.existsSync(file) ||
        !fs.statSync(file).isFile()) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, {
      'Content-Type': types[path.extname(file)] || 'application/octet-stream',
      'Cache-Control': 'no-store',
    });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      resolve({
        origin: `http://127.0.0.1:${server.address().port}`,
        close: () => { server.closeAllConnections(); server.close(); },
        setFolder: (other) => { root = path.resolve(other); },
        setDown: (value) => { down = value; },
      });
    });
  });
}

export const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';

// Chromium, headless, drawing WebGL2 with its software renderer (SwiftShader); none of its
// background connections, which this machine's closed network refuses.
export async function launchBrowser(profile) {
  if (!fs.existsSync(chromiumPath)) {
    throw new Error(`${chromiumPath} is missing: scripts/install-deps web installs chromium`);
  }
  return puppeteer.launch({
    executablePath: chromiumPath,
    headless: true,
    userDataDir: profile,
    args: [
      '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--autoplay-policy=no-user-gesture-required', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--disable-quic', '--no-first-run',
      '--disable-default-apps', '--disable-extensions', '--mute-audio',
    ],
  });
}

// Runs a test's `steps(browser, server)` in a Chromium of its own, with the site at `siteDir`
// served, then ends it as `report` does; an error thrown by the steps is one more problem.
export async function runInChromium(name, siteDir, outDir, problems, pageErrors, steps) {
  const server = await serveSite(siteDir);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'octavane-chromium-'));
  const browser = await launchBrowser(profile);
  try {
    await steps(browser, server);
  } catch (error) {
    problems.push(error.message);
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
  report(name, outDir, problems, pageErrors);
}

// Where a logical or world point of the picture shows in a canvas of width x height, by the
// game's own camera (the SCREEN_POINT_JS tool each test is given).
export function screenPoint(screenPointJs, width, height, kind, ...values) {
  const out = execFileSync(process.execPath,
    [screenPointJs, String(width), String(height), kind, ...values.map(String)]);
  const [x, y] = out.toString().trim().split(/\s+/).map(Number);
  return { x, y };
}

// The page's screenshot, saved as `file` and decoded.
export async function screenshot(page, file) {
  await page.screenshot({ path: file });
  return decodePng(fs.readFileSync(file));
}

// Ends a browser test: its problems and the page's errors, or a pass, said under its `name`.
export function report(name, outDir, problems, pageErrors) {
  problems.push(...pageErrors);
  console.log(`screenshots in ${outDir}`);
  if (problems.length > 0) {
    console.error(`${name}: failed\n  ${problems.join('\n  ')}`);
    process.exit(1);
  }
  console.log(`${name}: passed`);
}

// Counts the page's frames in window.octavaneFrames, for page.evaluateOnNewDocument: every frame
// starts by clearing the whole back buffer with the scissor test off; the viewport's own clears
// have it on.
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
