// The browser build's figures in Debian's headless Chromium (software WebGL2, so the frame rate
// says nothing about a real GPU):
//   - frames a second on the title at 640x480 and at 1280x720, counted over ten seconds;
//   - the level-9 self-play game of enginefast_bench run in a page: its slowest move.
//
//   node measure.mjs SITE_DIR BENCH_DIR
//
// BENCH_DIR holds enginefast_bench.js and .wasm of the browser build. Prints one line a figure.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { launchBrowser, serveSite } from './harness.mjs';

const [siteDir, benchDir] = process.argv.slice(2);
if (!siteDir || !benchDir) {
  console.error('usage: node measure.mjs SITE_DIR BENCH_DIR');
  process.exit(2);
}

// Every frame starts by clearing the whole back buffer with the scissor test off; the
// viewport's own clears have it on. Counting the first kind counts frames.
function countFrames() {
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

async function framesPerSecond(browser, origin, width, height) {
  const page = await browser.newPage();
  await page.setViewport({ width, height, deviceScaleFactor: 1 });
  await page.evaluateOnNewDocument(countFrames);
  await page.goto(`${origin}/index.html`);
  await new Promise((resolve) => setTimeout(resolve, 8000)); // loaded, title running
  const start = await page.evaluate(() => window.octavaneFrames);
  await new Promise((resolve) => setTimeout(resolve, 10000));
  const end = await page.evaluate(() => window.octavaneFrames);
  await page.close();
  return (end - start) / 10;
}

async function selfPlay(browser, origin) {
  const page = await browser.newPage();
  const lines = [];
  page.on('console', (message) => lines.push(message.text()));
  await page.setContent('<p>enginefast_bench</p>');
  await page.goto(`${origin}/bench.html`);
  await page.waitForFunction(() => window.benchDone === true, { timeout: 600000 });
  await page.close();
  return lines.filter((line) => line.includes('BM_SelfPlay'));
}

const site = await serveSite(siteDir);
const benchPage = path.join(benchDir, 'bench.html');
fs.writeFileSync(benchPage, `<!doctype html><meta charset="utf-8"><link rel="icon" href="data:,">
<script>
  window.Module = {
    arguments: ['--benchmark_filter=BM_SelfPlay/9/0'],
    print: (text) => console.log(text),
    onExit: () => { window.benchDone = true; },
  };
</script><script src="enginefast_bench.js"></script>`);
const bench = await serveSite(benchDir);
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'octavane-chromium-'));
const browser = await launchBrowser(profile);
try {
  for (const [width, height] of [[640, 480], [1280, 720]]) {
    const fps = await framesPerSecond(browser, site.origin, width, height);
    console.log(`title at ${width}x${height}: ${fps.toFixed(1)} frames a second`);
  }
  for (const line of await selfPlay(browser, bench.origin)) {
    console.log(`in Chromium: ${line}`);
  }
} finally {
  await browser.close();
  site.close();
  bench.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
