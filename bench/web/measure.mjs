// The browser build's figures in Debian's headless Chromium (software WebGL2, so the frame rate
// says nothing about a real GPU):
//   - frames a second on the title at 640x480 and at 1280x720, counted over ten seconds;
//   - the level-9 self-play game of enginefast_bench run in a page: its slowest move;
//   - the gaps between drawn frames through a whole game against the computer at Extreme+, the
//     human's moves scripted (the first legal square each turn), with the page's CPU slowed 4x
//     as on a phone: the median and the longest, with the search in its Web Worker and, for
//     comparison, with Web Workers hidden from the page (the search then runs on the page).
//     The loading and the menus are not counted. The target: the longest under 3x the median.
//     Beside the frames drawn, the pictures the browser showed (its animation frames) in that
//     time: a page drawing faster than the browser shows draws frames nobody sees. Also the
//     processor time Chromium's GPU process (which draws, in software here) and the page's
//     process took, for on a small machine they share its few cores;
//   - for comparison, the same gaps on a page that only clears a WebGL2 canvas each frame, with
//     the same slowdown: what the browser and this machine give when the page draws nothing.
//
//   node measure.mjs SITE_DIR BENCH_DIR [game]
//
// With "game", only the whole game's frame gaps are measured; with "worker", only with the worker.
// BENCH_DIR holds enginefast_bench.js and .wasm of the browser build. Prints one line a figure.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { countFrames, launchBrowser, serveSite } from './harness.mjs';

const [siteDir, benchDir, only] = process.argv.slice(2);
if (!siteDir || !benchDir) {
  console.error('usage: node measure.mjs SITE_DIR BENCH_DIR');
  process.exit(2);
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

// Each frame's time on the page's clock, once recording is switched on.
function recordFrameTimes() {
  const original = HTMLCanvasElement.prototype.getContext;
  window.octavaneFrameTimes = [];
  // The browser's animation frames: the pictures it shows, whether the page drew anew or not.
  window.octavanePictures = 0;
  const picture = () => {
    if (window.octavaneRecording) window.octavanePictures += 1;
    requestAnimationFrame(picture);
  };
  requestAnimationFrame(picture);
  window.octavaneLongTasks = [];
  window.octavaneRecording = false;
  // The page's thread busy without a break for 50 ms or more: its own work, or its GL calls
  // waiting for room in the GPU process's command buffer when the GPU (here SwiftShader, on the
  // processor) has fallen behind the frames the page hands it.
  new PerformanceObserver((list) => {
    if (window.octavaneRecording) {
      for (const entry of list.getEntries()) window.octavaneLongTasks.push(entry.duration);
    }
  }).observe({ entryTypes: ['longtask'] });
  HTMLCanvasElement.prototype.getContext = function (...args) {
    const context = original.apply(this, args);
    if (context && !context.octavaneTimed && args[0] === 'webgl2') {
      const clear = context.clear.bind(context);
      context.clear = (mask) => {
        if (window.octavaneRecording && (mask & context.COLOR_BUFFER_BIT) &&
            !context.isEnabled(context.SCISSOR_TEST)) {
          window.octavaneFrameTimes.push(performance.now());
        }
        clear(mask);
      };
      context.octavaneTimed = true;
    }
    return context;
  };
}

// The processor time (ms) each kind of this browser's processes has taken so far, from /proc.
function processTimes(profile) {
  const times = {};
  const ticks = 100; // USER_HZ on Linux
  for (const pid of fs.readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    try {
      const args = fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8');
      if (!args.includes(profile)) continue;
      const kind = (args.match(/--type=([\w-]+)/) || [, 'browser'])[1];
      const fields = fs.readFileSync(`/proc/${pid}/stat`, 'utf8').split(') ')[1].split(' ');
      times[kind] = (times[kind] || 0) + (Number(fields[11]) + Number(fields[12])) * 1000 / ticks;
    } catch {
      // The process ended meanwhile.
    }
  }
  return times;
}

const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const keptGameFile = '/home/web_user/.config/Bellwick/Octavane/game.txt';

// The position after a kept game's plies ("d3", "--" for a pass): cells[y * 8 + x], 1 Black,
// 2 White; Black moves first.
function replay(plies) {
  const cells = new Array(64).fill(0);
  cells[27] = cells[36] = 2;
  cells[28] = cells[35] = 1;
  let turn = 1;
  for (const ply of plies) {
    if (ply !== '--') place(cells, ply.charCodeAt(0) - 97, ply.charCodeAt(1) - 49, turn);
    turn = 3 - turn;
  }
  return { cells, turn };
}

function flips(cells, x, y, turn) {
  if (cells[y * 8 + x] !== 0) return [];
  const turned = [];
  for (const [dx, dy] of [[1, 0], [-1, 0], [0, 1], [0, -1], [1, 1], [1, -1], [-1, 1], [-1, -1]]) {
    const line = [];
    let cx = x + dx;
    let cy = y + dy;
    while (cx >= 0 && cx < 8 && cy >= 0 && cy < 8 && cells[cy * 8 + cx] === 3 - turn) {
      line.push(cy * 8 + cx);
      cx += dx;
      cy += dy;
    }
    if (line.length > 0 && cx >= 0 && cx < 8 && cy >= 0 && cy < 8 && cells[cy * 8 + cx] === turn) {
      turned.push(...line);
    }
  }
  return turned;
}

function place(cells, x, y, turn) {
  for (const square of flips(cells, x, y, turn)) cells[square] = turn;
  cells[y * 8 + x] = turn;
}

// The cursor to the top left corner (the arrows stop at the edge, so wherever it was), then to
// (x, y), then Space; Enter when Black has no move. Each press is short of the keys' repeat.
async function playFirstLegal(page, board) {
  let target = -1;
  for (let square = 0; square < 64 && target < 0; ++square) {
    if (flips(board.cells, square % 8, Math.floor(square / 8), 1).length > 0) target = square;
  }
  const keys = [];
  if (target < 0) {
    keys.push('Enter');
  } else {
    const [x, y] = [target % 8, Math.floor(target / 8)];
    keys.push(...new Array(7).fill('ArrowLeft'), ...new Array(7).fill('ArrowUp'));
    keys.push(...new Array(x).fill('ArrowRight'), ...new Array(y).fill('ArrowDown'), 'Space');
  }
  for (const key of keys) {
    await page.keyboard.down(key);
    await pause(50);
    await page.keyboard.up(key);
    await pause(70);
  }
}

// A whole game as Black against Extreme+, the CPU slowed 4x; the gaps between its frames.
async function gameFrameGaps(browser, origin, withWorker, profile) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 640, height: 480, deviceScaleFactor: 1 });
  await page.evaluateOnNewDocument(recordFrameTimes);
  if (!withWorker) {
    await page.evaluateOnNewDocument(() => { window.Worker = undefined; });
  }
  page.on('console', (message) => {
    if (message.type() === 'warning' || message.type() === 'error') {
      console.log(`  page: ${message.text()}`);
    }
  });
  const cdp = await page.createCDPSession();
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: 4 });
  await page.goto(`${origin}/index.html`);
  await page.waitForFunction(() => window.Module && Module.calledRun, { timeout: 120000 });
  await pause(4000);
  const keys = ['Space', 'Space', ...new Array(16).fill('ArrowDown'), 'Space'];
  for (const key of keys) {
    await page.keyboard.down(key);
    await pause(150);
    await page.keyboard.up(key);
    await pause(250);
  }
  await page.evaluate(() => { window.octavaneRecording = true; });
  const cpuBefore = processTimes(profile);
  const cpuFrom = Date.now();
  const read = () => page.evaluate((file) => {
    try {
      return Module.FS.readFile(file, { encoding: 'utf8' });
    } catch (error) {
      return '';
    }
  }, keptGameFile);
  let seen = null;
  let started = false;
  const until = Date.now() + 40 * 60 * 1000;
  for (;;) {
    if (Date.now() > until) throw new Error('the game did not end within 40 minutes');
    const text = await read();
    if (text === '') {
      if (started) break; // the game is over: it is no longer kept
      await pause(200);
      continue;
    }
    started = true;
    const line = (text.match(/^plies(.*)$/m) || [])[1] || '';
    if (line !== seen && process.env.OCTAVANE_BENCH_PLIES) {
      console.log(`  plies at ${(await page.evaluate(() => performance.now() -
        (window.octavaneFrameTimes[0] || 0))).toFixed(0)} ms: ${line.trim()}`);
    }
    if (line !== seen) {
      const board = replay(line.trim() ? line.trim().split(/\s+/) : []);
      if (board.turn === 1) {
        await pause(1500); // the move's animation; keys during it only move the cursor
        await playFirstLegal(page, board);
        const before = line;
        const retry = Date.now() + 5000;
        while ((((await read()).match(/^plies(.*)$/m) || [])[1] || '') === before &&
               Date.now() < retry) {
          await pause(200);
        }
        continue;
      }
      seen = line;
    }
    await pause(200);
  }
  const cpuAfter = processTimes(profile);
  const cpuSpan = Date.now() - cpuFrom;
  await pause(1000);
  const [times, longTasks, pictures] = await page.evaluate(() => {
    window.octavaneRecording = false;
    return [window.octavaneFrameTimes, window.octavaneLongTasks, window.octavanePictures];
  });
  await context.close();
  const ends = times.slice(1).map((t, i) => [t - times[i], t - times[0]]);
  const slowest = [...ends].sort((a, b) => b[0] - a[0]).slice(0, 5);
  console.log(`  the five longest gaps (ms, ending at ms of the game): ${
    slowest.map(([gap, at]) => `${gap.toFixed(0)} at ${at.toFixed(0)}`).join(', ')}`);
  const gaps = ends.map(([gap]) => gap).sort((a, b) => a - b);
  return {
    longestTask: Math.max(0, ...longTasks),
    longTasks: longTasks.length,
    frames: times.length,
    pictures,
    median: gaps[Math.floor(gaps.length / 2)],
    longest: gaps[gaps.length - 1],
    gpuShare: ((cpuAfter['gpu-process'] || 0) - (cpuBefore['gpu-process'] || 0)) / cpuSpan,
    pageShare: ((cpuAfter.renderer || 0) - (cpuBefore.renderer || 0)) / cpuSpan,
  };
}

// A page that only clears its WebGL2 canvas each animation frame, the CPU slowed 4x as in the
// game: the gaps between its frames over `seconds`.
async function emptyPageFrameGaps(browser, seconds) {
  const page = await browser.newPage();
  await page.setViewport({ width: 640, height: 480, deviceScaleFactor: 1 });
  const cdp = await page.createCDPSession();
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: 4 });
  await page.setContent(`<body style="margin:0"><canvas width="640" height="480"></canvas>
<script>
  const gl = document.querySelector('canvas').getContext('webgl2', { alpha: false });
  window.frameTimes = [];
  const draw = () => {
    window.frameTimes.push(performance.now());
    gl.clearColor(0, 0.3 + 0.2 * Math.sin(performance.now() / 500), 0, 1);
    gl.clear(gl.COLOR_BUFFER_BIT | gl.DEPTH_BUFFER_BIT);
    requestAnimationFrame(draw);
  };
  requestAnimationFrame(draw);
</script>`);
  await pause(3000);
  await page.evaluate(() => { window.frameTimes = []; });
  await pause(seconds * 1000);
  const times = await page.evaluate(() => window.frameTimes);
  await page.close();
  const gaps = times.slice(1).map((t, i) => t - times[i]).sort((a, b) => a - b);
  return { frames: times.length, median: gaps[gaps.length >> 1], longest: gaps[gaps.length - 1] };
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
  if (!only) {
    for (const [width, height] of [[640, 480], [1280, 720]]) {
      const fps = await framesPerSecond(browser, site.origin, width, height);
      console.log(`title at ${width}x${height}: ${fps.toFixed(1)} frames a second`);
    }
    for (const line of await selfPlay(browser, bench.origin)) {
      console.log(`in Chromium: ${line}`);
    }
  }
  for (const withWorker of only === 'worker' ? [true] : [false, true]) {
    const gaps = await gameFrameGaps(browser, site.origin, withWorker, profile);
    const where = withWorker ? 'search in its Web Worker' : 'search on the page (no Web Worker)';
    console.log(`a whole game against Extreme+, CPU slowed 4x, ${where}: ${gaps.frames} frames ` +
      `drawn, ${gaps.pictures} shown (the browser's animation frames), ` +
      `median gap ${gaps.median.toFixed(1)} ms, longest ${gaps.longest.toFixed(1)} ms ` +
      `(${(gaps.longest / gaps.median).toFixed(1)}x the median; target under 3x); ` +
      `the page's thread busy 50 ms or more at a time ${gaps.longTasks} times, ` +
      `the longest ${gaps.longestTask.toFixed(0)} ms; the GPU process used ` +
      `${(100 * gaps.gpuShare).toFixed(0)}% of a core and the page's process ` +
      `${(100 * gaps.pageShare).toFixed(0)}% (of ${os.cpus().length} cores)`);
  }
  const empty = await emptyPageFrameGaps(browser, 60);
  console.log(`a page that only clears a WebGL2 canvas, CPU slowed 4x, for 60 s: ${empty.frames} ` +
    `frames, median gap ${empty.median.toFixed(1)} ms, longest ${empty.longest.toFixed(1)} ms ` +
    `(${(empty.longest / empty.median).toFixed(1)}x the median)`);
} finally {
  await browser.close();
  site.close();
  bench.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
