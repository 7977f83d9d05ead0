// The game as the browser tests see it, whichever browser drives it. A view is { run(body,
// ...args), screenshot(), tap(x, y), press(key)?, outDir, screenPointJs }: run runs a function
// body in the page, tap touches or clicks at CSS pixels, and a view with `press` plays by keys.
// screenPointJs (e2e_screen_point for node) says where a point shows, apart from the game's picking.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fail, sleep, waitUntil } from './harness.mjs';
import { brightness, colourAt, decodePng } from './png.mjs';

// Eight plies after which Black has no move and White has: a forced pass.
export const toForcedPass = [[3, 2], [2, 2], [1, 2], [1, 1], [5, 4], [0, 2], [0, 0], [2, 0]];
const gameControls = ['Back', 'Undo', 'Redo', 'Hint', 'Marks', 'Copy'];
export const luminance = (c) => (c[0] + c[1] + c[2]) / 3;
export const lit = (image) => brightness(image) > 0.02; // not a black picture
export const squareWorld = (column, row) => [(column - 3.5) * 140, (row - 3.5) * 140];

export function puppeteerView(page, outDir, screenPointJs, touch) {
  return {
    page, outDir, screenPointJs,
    run: (body, ...args) => page.evaluate((source, values) =>
      new Function(source)(...values), body, args),
    screenshot: () => page.screenshot(),
    tap: async (x, y) => {
      if (touch) return page.touchscreen.tap(x, y);
      await page.mouse.move(x, y);
      await sleep(150);
      await page.mouse.down();
      await sleep(120);
      return page.mouse.up();
    },
  };
}

export const canvasBox = (view) => view.run(`const r = document.getElementById('canvas')
  .getBoundingClientRect(); return { x: r.left, y: r.top, w: Math.round(r.width),
  h: Math.round(r.height) };`);

// Where a logical or world point shows on the page, with the canvas at `box`.
const points = new Map();
export function point(view, box, kind, ...values) {
  const key = [box.w, box.h, kind, ...values].join(' ');
  if (!points.has(key)) {
    const out = execFileSync(process.execPath,
      [view.screenPointJs, String(box.w), String(box.h), kind, ...values.map(String)]);
    points.set(key, out.toString().trim().split(/\s+/).map(Number));
  }
  const [x, y] = points.get(key);
  return { x: box.x + x, y: box.y + y };
}

// The screenshot `name`, saved and decoded, with its pixels per CSS pixel and the canvas's box.
export async function shot(view, name) {
  const data = Buffer.from(await view.screenshot());
  fs.writeFileSync(path.join(view.outDir, `${name}.png`), data);
  const image = decodePng(data);
  image.ratio = image.width / (await view.run('return innerWidth;'));
  image.box = await canvasBox(view);
  return image;
}

export const colourOf = (view, image, k, kind, ...values) => {
  const p = point(view, image.box, kind, ...values);
  return colourAt(image, p.x * image.ratio, p.y * image.ratio, k);
};

export const waitForShot = (view, name, ready, what, seconds = 20) =>
  waitUntil(seconds, () => shot(view, name), ready, () => `${name}: ${what} never happened`);

// The title's name, white in the middle of the picture.
export const waitForTitle = (view, name) => waitForShot(view, name, (image) =>
  luminance(colourOf(view, image, 6, 'logical', 320, 206)) > 40, 'the title', 90);

// The brightness round the top of a disc on (column, row), clear of the pointer in its middle.
export function squareLuminance(view, image, column, row) {
  const [x, y] = squareWorld(column, row);
  return [[-30, 0], [30, 0], [0, -30], [0, 30]].reduce((sum, [dx, dy]) =>
    sum + luminance(colourOf(view, image, 2, 'world', x + dx, y + dy, 20)), 0) / 4;
}

export function squareContent(view, image, column, row, board) {
  const value = squareLuminance(view, image, column, row);
  return value < board - 25 ? 'black' : value > board + 40 ? 'white' : '';
}

// The controls shown, but for "Full screen" and "Analysis" (shown where the game has one).
export const shownControls = (view) => view.run(`return [...document.querySelectorAll(
  '.controls button')].filter((b) => !b.hidden && b.getClientRects().length > 0)
  .map((b) => b.getAttribute('aria-label'))
  .filter((n) => n !== 'Full screen' && n !== 'Analysis');`);

export const waitForControls = (view, wanted, label, seconds = 15) => waitUntil(seconds,
  async () => (await shownControls(view)).sort(), (shown) => `${shown}` === `${[...wanted].sort()}`,
  (shown) => `${label}: the controls shown are ${shown}, not ${wanted}`);

export async function tap(view, at) {
  await view.tap(Math.round(at.x), Math.round(at.y));
  await sleep(300);
}

export async function tapControl(view, name) {
  const at = await view.run(`const b = [...document.querySelectorAll('.controls button')]
    .find((b) => b.getAttribute('aria-label') === arguments[0] && !b.hidden);
    if (!b) return null;
    const r = b.getBoundingClientRect();
    return { x: r.left + r.width / 2, y: r.top + r.height / 2 };`, name);
  if (!at) fail(`"${name}" is not shown`);
  await tap(view, at);
}

// Title, menu and the two-player game by taps (the menu's tap must not land on the board), on
// the opening position; the empty board's brightness.
export async function startTwoPlayers(view, label) {
  const box = await canvasBox(view);
  await waitForControls(view, [], `${label} title`);
  if (view.press) await view.press(' ');
  else await tap(view, point(view, box, 'logical', 320, 330));
  await waitForControls(view, ['Back'], `${label} menu`);
  if (view.press) { // to the first line whatever a pointer over the menu chose, then down two
    for (const key of ['ArrowUp', 'ArrowUp', 'ArrowUp', 'ArrowUp', 'ArrowDown', 'ArrowDown', ' ']) {
      await view.press(key);
    }
  } else {
    await tap(view, point(view, box, 'logical', 320, 356)); // "2 Players Game"
  }
  await waitForControls(view, [...gameControls, 'Paste'], `${label} game`);
  await sleep(1800); // the opening; a move is taken after it
  const image = await shot(view, `${label}-game`);
  const board = squareLuminance(view, image, 2, 3);
  for (const [column, row, disc] of [[3, 3, 'white'], [4, 3, 'black'], [2, 3, '']]) {
    const found = squareContent(view, image, column, row, board);
    if (found !== disc) fail(`${label}: square (${column}, ${row}) shows '${found}' at the start`);
  }
  return board;
}

// One tap on a square (or the cursor taken there and Space): one disc there, never two plies. A
// tap before the game took moves again (a slow machine) is made again.
export async function play(view, label, column, row, disc, board) {
  const [x, y] = squareWorld(column, row);
  if (view.press) {
    const [dx, dy] = [column - view.cursor[0], row - view.cursor[1]];
    const steps = [[dx, 'ArrowRight', 'ArrowLeft'], [dy, 'ArrowDown', 'ArrowUp']];
    for (const [d, more, less] of steps) {
      for (let i = 0; i < Math.abs(d); ++i) await view.press(d > 0 ? more : less);
    }
    view.cursor = [column, row];
  }
  for (let attempt = 0; ; ++attempt) {
    if (view.press) await view.press(' ');
    else await tap(view, point(view, await canvasBox(view), 'world', x, y, 0));
    try {
      await waitForShot(view, `${label}-ply`, (image) =>
        squareContent(view, image, column, row, board) === disc,
      `a ${disc} disc on (${column}, ${row})`, 4);
      break;
    } catch (error) {
      if (attempt === 3) throw error;
    }
  }
  await sleep(1200); // the flips and the wait after the move
}

// A two-player game by taps to a forced pass, "Paste" gone after the first move and "Pass" shown
// only where it acts, passed by the page's "Pass" after `atPass()`; the empty board's brightness.
export async function playToForcedPass(view, label, atPass = async () => {}) {
  const board = await startTwoPlayers(view, label);
  let side = 'black';
  for (const [column, row] of toForcedPass) {
    await play(view, label, column, row, side, board);
    side = side === 'black' ? 'white' : 'black';
    const shown = await shownControls(view);
    if (shown.includes('Paste')) fail(`${label}: "Paste" still shows after a move`);
    if (shown.includes('Pass') && !(column === 2 && row === 0)) {
      fail(`${label}: "Pass" shows after (${column}, ${row})`);
    }
  }
  await waitForControls(view, [...gameControls, 'Pass'], `${label} forced pass`, 5);
  await shot(view, `${label}-forced-pass`);
  await atPass();
  await tapControl(view, 'Pass');
  await waitForControls(view, gameControls, `${label} after Pass`);
  return board;
}
