// The browser build on a phone, by touch alone, in Debian's headless Chromium with touch
// emulation: landscape (844x390) and portrait (390x844, pixel ratio 2). A two-player game by
// taps to a forced pass, passed with the page's "Pass"; "Undo", "Redo", "Hint", "Copy", "Paste"
// and "Back" by touch; Extreme+ chosen by touch; the phone turned during a move; the controls
// at least 44x44, inside the screen and off the picture, shown only where they act; a page that
// never scrolls. Screenshots go to OUT_DIR for people to look at.
//
//   node touch_test.mjs SITE_DIR OUT_DIR SCREEN_POINT_JS
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { colourAt, decodePng } from './png.mjs';
import { runInChromium } from './harness.mjs';

const [siteDir, outDir, screenPointJs] = process.argv.slice(2);
if (!siteDir || !outDir || !screenPointJs) {
  console.error('usage: node touch_test.mjs SITE_DIR OUT_DIR SCREEN_POINT_JS');
  process.exit(2);
}
fs.mkdirSync(outDir, { recursive: true });

const landscape = { width: 844, height: 390, deviceScaleFactor: 1, isMobile: true, hasTouch: true };
const portrait = { width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true };
// Eight plies after which Black has no move and White has: a forced pass.
const toForcedPass = [[3, 2], [2, 2], [1, 2], [1, 1], [5, 4], [0, 2], [0, 0], [2, 0]];
const problems = [];
const pageErrors = [];
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

function fail(message) {
  throw new Error(message);
}

// The canvas on the page, in CSS pixels.
async function canvasBox(page) {
  return page.evaluate(() => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    return { x: r.left, y: r.top, w: Math.round(r.width), h: Math.round(r.height) };
  });
}

// Where a logical or world point of the picture shows on the page, in CSS pixels, with the
// canvas at `box` (now, when none is given).
const pointCache = new Map();
async function point(page, kind, ...values) {
  const box = typeof values[0] === 'object' ? values.shift() : await canvasBox(page);
  const key = [box.w, box.h, kind, ...values].join(' ');
  if (!pointCache.has(key)) {
    const out = execFileSync(process.execPath,
      [screenPointJs, String(box.w), String(box.h), kind, ...values.map(String)]);
    const [x, y] = out.toString().trim().split(/\s+/).map(Number);
    pointCache.set(key, { x, y });
  }
  const p = pointCache.get(key);
  return { x: box.x + p.x, y: box.y + p.y };
}

const squareWorld = (column, row) => [(column - 3.5) * 140, (row - 3.5) * 140];

async function shot(page, name) {
  const file = path.join(outDir, `${name}.png`);
  await page.screenshot({ path: file });
  const image = decodePng(fs.readFileSync(file));
  image.ratio = image.width / page.viewport().width;
  image.box = await canvasBox(page);
  return image;
}

const luminance = (c) => (c[0] + c[1] + c[2]) / 3;

// The brightness round the top of a disc on (column, row): four probes clear of the pointer,
// which stands over the middle of the square it is on.
async function squareLuminance(page, image, column, row) {
  const [x, y] = squareWorld(column, row);
  let sum = 0;
  for (const [dx, dy] of [[-30, 0], [30, 0], [0, -30], [0, 30]]) {
    const p = await point(page, 'world', image.box, x + dx, y + dy, 20);
    sum += luminance(colourAt(image, p.x * image.ratio, p.y * image.ratio));
  }
  return sum / 4;
}

// What lies on each square: 'black', 'white' or '' against the empty board's brightness.
async function squareContent(page, image, column, row, board) {
  const value = await squareLuminance(page, image, column, row);
  if (value < board - 25) return 'black';
  if (value > board + 40) return 'white';
  return '';
}

// Screenshots until `ready` accepts one, for at most `seconds`.
async function waitForShot(page, name, ready, what, seconds = 20) {
  const until = Date.now() + seconds * 1000;
  for (;;) {
    const image = await shot(page, name);
    if (await ready(image)) return image;
    if (Date.now() > until) fail(`${name}: ${what} never happened`);
    await sleep(250);
  }
}

async function shownControls(page) {
  return page.$$eval('.controls button', (buttons) => buttons
    .filter((b) => !b.hidden && b.getClientRects().length > 0)
    .map((b) => b.getAttribute('aria-label')));
}

async function waitForControls(page, wanted, label, seconds = 15) {
  const until = Date.now() + seconds * 1000;
  for (;;) {
    // The page's own "Full screen", and "Analysis" (which the game's state decides where the game
    // has an analysis), are left out.
    const shown = (await shownControls(page))
      .filter((name) => name !== 'Full screen' && name !== 'Analysis').sort();
    if (JSON.stringify(shown) === JSON.stringify([...wanted].sort())) return;
    if (Date.now() > until) fail(`${label}: the controls shown are ${shown}, not ${wanted}`);
    await sleep(150);
  }
}

async function tap(page, at) {
  await page.touchscreen.tap(at.x, at.y);
  await sleep(300);
}

async function tapControl(page, name) {
  const at = await page.$$eval('.controls button', (buttons, wanted) => {
    const button = buttons.find((b) => b.getAttribute('aria-label') === wanted);
    if (!button || button.hidden) return null;
    const r = button.getBoundingClientRect();
    return { x: r.left + r.width / 2, y: r.top + r.height / 2 };
  }, name);
  if (!at) fail(`"${name}" is not shown`);
  await tap(page, at);
}

// Each control shown: a <button> with its name, at least 44x44, inside the safe area and off
// the 4:3 picture, none over another; the page does not scroll.
async function checkLayout(page, label) {
  const layout = await page.evaluate(() => {
    const canvas = document.getElementById('canvas').getBoundingClientRect();
    const scale = Math.min(canvas.width / 640, canvas.height / 480);
    const picture = {
      left: canvas.left + (canvas.width - 640 * scale) / 2,
      top: canvas.top + (canvas.height - 480 * scale) / 2,
    };
    picture.right = picture.left + 640 * scale;
    picture.bottom = picture.top + 480 * scale;
    const buttons = [...document.querySelectorAll('.controls button')]
      .filter((b) => !b.hidden && b.getClientRects().length > 0)
      .map((b) => {
        const r = b.getBoundingClientRect();
        return { name: b.getAttribute('aria-label'), tag: b.tagName, left: r.left, top: r.top,
                 right: r.right, bottom: r.bottom };
      });
    return {
      picture, buttons, width: innerWidth, height: innerHeight,
      scroll: [document.documentElement.scrollWidth, document.documentElement.scrollHeight],
      touch: document.body.classList.contains('touch'),
    };
  });
  if (!layout.touch) fail(`${label}: the page is not in its touch layout`);
  if (layout.scroll[0] > layout.width || layout.scroll[1] > layout.height) {
    fail(`${label}: the page scrolls (${layout.scroll} in ${layout.width}x${layout.height})`);
  }
  const overlap = (a, b) => a.left < b.right - 0.5 && b.left < a.right - 0.5 &&
    a.top < b.bottom - 0.5 && b.top < a.bottom - 0.5;
  for (const b of layout.buttons) {
    if (b.tag !== 'BUTTON' || !b.name) fail(`${label}: a control without a name`);
    if (b.right - b.left < 44 || b.bottom - b.top < 44) fail(`${label}: "${b.name}" is small`);
    if (b.left < 0 || b.top < 0 || b.right > layout.width || b.bottom > layout.height) {
      fail(`${label}: "${b.name}" is off the screen`);
    }
    if (overlap(b, layout.picture)) fail(`${label}: "${b.name}" covers the picture`);
    for (const other of layout.buttons) {
      if (other !== b && overlap(b, other)) fail(`${label}: "${b.name}" covers "${other.name}"`);
    }
  }
  return layout;
}

function watchErrors(page, label) {
  page.on('pageerror', (error) => pageErrors.push(`${label}: ${error.message}`));
  page.on('console', (message) => {
    if (message.type() === 'error') pageErrors.push(`${label}: console: ${message.text()}`);
  });
}

async function openPhone(browser, origin, viewport, label) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  watchErrors(page, label);
  await page.goto(`${origin}/index.html`);
  // The title's name, white in the middle of the picture.
  await waitForShot(page, `${label}-title`, async (image) => {
    const name = await point(page, 'logical', image.box, 320, 206);
    return luminance(colourAt(image, name.x * image.ratio, name.y * image.ratio, 6)) > 40;
  }, 'the title', 60);
  await sleep(500);
  return page;
}

// Title, menu and the two-player game by taps; the menu's tap must not land on the board.
async function startTwoPlayers(page, label) {
  await waitForControls(page, [], `${label} title`);
  await tap(page, await point(page, 'logical', 320, 330));
  await waitForControls(page, ['Back'], `${label} menu`);
  await tap(page, await point(page, 'logical', 320, 356)); // "2 Players Game"
  await waitForControls(page, ['Back', 'Undo', 'Redo', 'Hint', 'Marks', 'Copy', 'Paste'],
    `${label} game`);
  await sleep(1800); // the opening; a move is taken after it
  const image = await shot(page, `${label}-game`);
  const board = await squareLuminance(page, image, 2, 3);
  for (const [column, row, disc] of [[3, 3, 'white'], [4, 3, 'black'], [2, 3, '']]) {
    const found = await squareContent(page, image, column, row, board);
    if (found !== disc) fail(`${label}: square (${column}, ${row}) shows '${found}' at the start`);
  }
  return board;
}

// One tap on a square: one disc of the side to move there, never two plies. A tap that came
// before the game took moves again (a slow machine) is made again.
async function play(page, label, column, row, disc, board) {
  const [x, y] = squareWorld(column, row);
  for (let attempt = 0; ; ++attempt) {
    await tap(page, await point(page, 'world', x, y, 0));
    try {
      await waitForShot(page, `${label}-ply`, async (image) =>
        (await squareContent(page, image, column, row, board)) === disc,
      `a ${disc} disc on (${column}, ${row})`, 4);
      break;
    } catch (error) {
      if (attempt === 3) throw error;
    }
  }
  await sleep(1200); // the flips and the wait after the move
}

async function landscapeGame(browser, origin) {
  const page = await openPhone(browser, origin, landscape, 'landscape');
  console.log('landscape: the title is up');
  await checkLayout(page, 'landscape title');
  const board = await startTwoPlayers(page, 'landscape');
  await checkLayout(page, 'landscape game');
  let side = 'black';
  for (const [column, row] of toForcedPass) {
    await play(page, 'landscape', column, row, side, board);
    side = side === 'black' ? 'white' : 'black';
    const shown = await shownControls(page);
    if (shown.includes('Paste')) fail('"Paste" still shows after a move');
    if (shown.includes('Pass') && !(column === 2 && row === 0)) {
      fail(`"Pass" shows after (${column}, ${row})`);
    }
  }
  await waitForControls(page, ['Back', 'Undo', 'Redo', 'Hint', 'Marks', 'Copy', 'Pass'],
    'the forced pass', 5);
  await shot(page, 'landscape-forced-pass');
  await checkLayout(page, 'landscape forced pass');
  await tapControl(page, 'Pass');
  await waitForControls(page, ['Back', 'Undo', 'Redo', 'Hint', 'Marks', 'Copy'], 'after Pass');
  await sleep(1200);

  // Undo takes White's last move back, Redo plays it again (and Black's pass after it).
  await tapControl(page, 'Undo');
  await waitForShot(page, 'landscape-undo', async (image) =>
    (await squareContent(page, image, 2, 0, board)) === '', 'the undo');
  await sleep(1500);
  await tapControl(page, 'Redo');
  await waitForShot(page, 'landscape-redo', async (image) =>
    (await squareContent(page, image, 2, 0, board)) === 'white', 'the redo');
  await sleep(2500);

  // The record to the browser's clipboard.
  await tapControl(page, 'Copy');
  await sleep(300);
  const record = await page.evaluate(() => navigator.clipboard.readText());
  if (record !== 'd3c3b3b2f5a3a1c1') fail(`"Copy" put ${JSON.stringify(record)} on the clipboard`);

  // The hint puts the cursor on a square White may play: Space there plays it.
  const before = await shot(page, 'landscape-before-hint');
  const discs = async (image) => {
    const out = [];
    for (let row = 0; row < 8; ++row) {
      for (let column = 0; column < 8; ++column) {
        out.push(await squareContent(page, image, column, row, board));
      }
    }
    return out;
  };
  const discsBefore = await discs(before);
  await tapControl(page, 'Hint');
  await sleep(1000);
  await page.keyboard.press(' ');
  // Space on the square the last move took would be refused: a move played shows the hint
  // moved the cursor, and its flips show it (black discs turned white).
  await waitForShot(page, 'landscape-after-hint', async (image) =>
    (await discs(image)).some((d, i) => d === 'white' && discsBefore[i] === 'black'),
  'a white move where the hint pointed');
  await sleep(1500);

  // Back leaves the game for the title.
  await tapControl(page, 'Back');
  await waitForControls(page, [], 'back at the title');
  return page;
}

// A record on the browser's clipboard (another than the game copied), pasted by touch at the
// start of a two-player game, becomes the game in play.
async function pasteGame(page) {
  await page.evaluate(() => navigator.clipboard.writeText('d3c5f6'));
  const board = await startTwoPlayers(page, 'paste');
  await tapControl(page, 'Paste');
  await waitForControls(page, ['Back', 'Undo', 'Redo', 'Hint', 'Marks', 'Copy'], 'after Paste');
  await waitForShot(page, 'paste-pasted', async (image) =>
    (await squareContent(page, image, 3, 2, board)) === 'black' &&
    (await squareContent(page, image, 2, 4, board)) === 'white', 'the pasted position');
  await tapControl(page, 'Back');
  await waitForControls(page, [], 'back at the title after the paste');
}

// Extreme+ by touch: the page's "Down" presses on past "Expert", a tap on the seventh line
// starts the level it shows.
async function extremePlus(page) {
  await tap(page, await point(page, 'logical', 320, 330));
  await waitForControls(page, ['Back'], 'the menu');
  await tap(page, await point(page, 'logical', 320, 300)); // "1 Player Game (Black)"
  await waitForControls(page, ['Back', 'Up', 'Down'], 'the level list');
  for (let i = 0; i < 15; ++i) {
    await tapControl(page, 'Down');
  }
  await sleep(300);
  const list = await shot(page, 'landscape-extreme-plus');
  // "Extreme+" is violet (red 128, blue 255) on the seventh line.
  const top = await point(page, 'logical', 160, 408);
  const bottom = await point(page, 'logical', 480, 440);
  let violet = 0;
  for (let y = Math.round(top.y); y < bottom.y; ++y) {
    for (let x = Math.round(top.x); x < bottom.x; ++x) {
      const [r, g, b] = colourAt(list, x, y, 0);
      if (b > 200 && r > 90 && r < 170 && g < 60) ++violet;
    }
  }
  if (violet < 20) fail(`the seventh line does not show Extreme+ (${violet} violet pixels)`);
  await tap(page, await point(page, 'logical', 320, 425));
  await waitForControls(page, ['Back', 'Undo', 'Redo', 'Hint', 'Marks', 'Copy'], 'Extreme+');
  await tapControl(page, 'Back');
  await waitForControls(page, [], 'back from Extreme+');
}

// Portrait: the picture at the top, full width, the controls under it; the phone turned to
// landscape between a tap and its disc loses nothing.
async function portraitGame(browser, origin) {
  const page = await openPhone(browser, origin, portrait, 'portrait');
  const layout = await checkLayout(page, 'portrait title');
  if (Math.abs(layout.picture.top) > 0.5 || Math.abs(layout.picture.right - 390) > 0.5) {
    fail(`portrait: the picture is at ${JSON.stringify(layout.picture)}`);
  }
  const canvas = await page.evaluate(() => [Module.canvas.width, Module.canvas.height]);
  if (canvas[0] !== 780 || Math.abs(canvas[1] - 585) > 1) {
    fail(`portrait: the canvas is ${canvas} pixels, not 780x585`);
  }
  const board = await startTwoPlayers(page, 'portrait');
  const controls = await checkLayout(page, 'portrait game');
  if (!controls.buttons.every((b) => b.top >= layout.picture.bottom)) {
    fail('portrait: a control is not under the picture');
  }
  await shot(page, 'portrait-game');
  const [x, y] = squareWorld(3, 2);
  await tap(page, await point(page, 'world', x, y, 0));
  await page.setViewport(landscape);
  await sleep(2500);
  const turned = await shot(page, 'portrait-turned');
  const landscapeBoard = await squareLuminance(page, turned, 2, 3);
  // The disc the move turned (the pointer stands on the one it placed).
  if ((await squareContent(page, turned, 3, 3, landscapeBoard)) !== 'black') {
    fail('the move made before the phone turned is lost');
  }
  await checkLayout(page, 'turned to landscape');
  await play(page, 'turned', 2, 2, 'white', landscapeBoard);
  await page.setViewport(portrait);
  await sleep(800);
  await shot(page, 'portrait-back');
  await checkLayout(page, 'turned back to portrait');
  void board;
  await page.close();
}

await runInChromium('touch test', siteDir, outDir, problems, pageErrors, async (browser, server) => {
  await browser.defaultBrowserContext().overridePermissions(server.origin,
    ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
  const started = Date.now();
  const phase = (name) => console.log(`${((Date.now() - started) / 1000).toFixed(1)} s: ${name}`);
  const page = await landscapeGame(browser, server.origin);
  phase('landscape game');
  await pasteGame(page);
  phase('paste');
  await extremePlus(page);
  phase('Extreme+');
  await page.close();
  await portraitGame(browser, server.origin);
  phase('portrait');
});
