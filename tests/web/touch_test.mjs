// The browser build on a phone, by touch alone (headless Chromium's touch emulation), in landscape
// and portrait: a two-player game by taps to a forced pass; Undo, Redo, Hint, Copy, Paste, Back;
// Extreme+; the phone turned during a move; the controls' sizes and places (checkLayout).
//
//   node touch_test.mjs SITE_DIR OUT_DIR SCREEN_POINT_JS
import { colourAt } from './png.mjs';
import {
  canvasBox, play, playToForcedPass, point, puppeteerView, shot, squareContent, squareLuminance,
  squareWorld, startTwoPlayers, tap, tapControl, waitForControls, waitForShot, waitForTitle,
} from './board.mjs';
import { fail, openPage, runTest, sleep, testArgs, withChromium } from './harness.mjs';

const [siteDir, outDir, screenPointJs] =
  testArgs('touch_test.mjs', 'SITE_DIR', 'OUT_DIR', 'SCREEN_POINT_JS');
const landscape = { width: 844, height: 390, deviceScaleFactor: 1, isMobile: true, hasTouch: true };
const portrait = { width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true };
const problems = [];

// The page in its touch layout, not scrolling; each control shown a named <button> of 44x44 or
// more, on the screen, off the 4:3 picture and off the others.
async function checkLayout(view, label) {
  const layout = await view.page.evaluate(() => {
    const c = document.getElementById('canvas').getBoundingClientRect();
    const scale = Math.min(c.width / 640, c.height / 480);
    const [left, top] = [c.left + (c.width - 640 * scale) / 2, c.top + (c.height - 480 * scale) / 2];
    return {
      picture: { left, top, right: left + 640 * scale, bottom: top + 480 * scale },
      buttons: [...document.querySelectorAll('.controls button')]
        .filter((b) => !b.hidden && b.getClientRects().length > 0)
        .map((b) => ({ name: b.tagName === 'BUTTON' && b.getAttribute('aria-label'),
          ...JSON.parse(JSON.stringify(b.getBoundingClientRect())) })),
      screen: { left: 0, top: 0, right: innerWidth, bottom: innerHeight },
      scroll: [document.documentElement.scrollWidth, document.documentElement.scrollHeight],
      touch: document.body.classList.contains('touch'),
    };
  });
  const { screen, picture, buttons } = layout;
  if (!layout.touch) fail(`${label}: the page is not in its touch layout`);
  if (layout.scroll[0] > screen.right || layout.scroll[1] > screen.bottom) {
    fail(`${label}: the page scrolls (${layout.scroll} in ${screen.right}x${screen.bottom})`);
  }
  const overlap = (a, b) => a.left < b.right - 0.5 && b.left < a.right - 0.5 &&
    a.top < b.bottom - 0.5 && b.top < a.bottom - 0.5;
  for (const b of buttons) {
    const inside = b.left >= 0 && b.top >= 0 && b.right <= screen.right && b.bottom <= screen.bottom;
    if (!b.name || b.width < 44 || b.height < 44 || !inside || overlap(b, picture) ||
        buttons.some((o) => o !== b && overlap(b, o))) {
      fail(`${label}: the control ${JSON.stringify(b)} is unnamed, small, off the screen or over another`);
    }
  }
  return layout;
}

async function openPhone(browser, origin, viewport, label) {
  const page = await openPage(browser, origin, label, problems, { viewport });
  const view = puppeteerView(page, outDir, screenPointJs, true);
  await waitForTitle(view, `${label}-title`);
  await sleep(500);
  return view;
}

const backToTitle = (view, label) =>
  tapControl(view, 'Back').then(() => waitForControls(view, [], label));

// The whole board: 'black', 'white' or '' on each square, row by row.
const discs = (view, image, board) => Array.from({ length: 64 }, (_, i) =>
  squareContent(view, image, i % 8, Math.floor(i / 8), board));

async function landscapeGame(browser, origin) {
  const view = await openPhone(browser, origin, landscape, 'landscape');
  await checkLayout(view, 'landscape title');
  const board = await playToForcedPass(view, 'landscape',
    () => checkLayout(view, 'landscape forced pass'));
  await sleep(1200);

  // Undo takes White's last move back, Redo plays it again (and Black's pass after it); Copy puts
  // the record on the browser's clipboard.
  for (const [control, disc, wait] of [['Undo', '', 1500], ['Redo', 'white', 2500]]) {
    await tapControl(view, control);
    await waitForShot(view, `landscape-${control}`, (image) =>
      squareContent(view, image, 2, 0, board) === disc, `the ${control}`);
    await sleep(wait);
  }
  await tapControl(view, 'Copy');
  await sleep(300);
  const record = await view.page.evaluate(() => navigator.clipboard.readText());
  if (record !== 'd3c3b3b2f5a3a1c1') fail(`"Copy" put ${JSON.stringify(record)} on the clipboard`);

  // The hint puts the cursor on a square White may play: Space there plays it. Space on the
  // square the last move took would be refused: its flips (black discs turned white) show it.
  const before = discs(view, await shot(view, 'landscape-before-hint'), board);
  await tapControl(view, 'Hint');
  await sleep(1000);
  await view.page.keyboard.press(' ');
  await waitForShot(view, 'landscape-after-hint', (image) => discs(view, image, board)
    .some((d, i) => d === 'white' && before[i] === 'black'), 'a white move where the hint pointed');
  await sleep(1500);
  await backToTitle(view, 'back at the title');
  return view;
}

// A record on the browser's clipboard (another than the game copied), pasted by touch at the
// start of a two-player game, becomes the game in play.
async function pasteGame(view) {
  await view.page.evaluate(() => navigator.clipboard.writeText('d3c5f6'));
  const board = await startTwoPlayers(view, 'paste');
  await tapControl(view, 'Paste');
  await waitForControls(view, ['Back', 'Undo', 'Redo', 'Hint', 'Marks', 'Copy'], 'after Paste');
  await waitForShot(view, 'paste-pasted', (image) =>
    squareContent(view, image, 3, 2, board) === 'black' &&
    squareContent(view, image, 2, 4, board) === 'white', 'the pasted position');
  await backToTitle(view, 'back at the title after the paste');
}

// Extreme+ by touch: the page's "Down" presses on past "Expert", a tap on the seventh line
// starts the level it shows.
async function extremePlus(view) {
  const box = await canvasBox(view);
  await tap(view, point(view, box, 'logical', 320, 330));
  await waitForControls(view, ['Back'], 'the menu');
  await tap(view, point(view, box, 'logical', 320, 300)); // "1 Player Game (Black)"
  await waitForControls(view, ['Back', 'Up', 'Down'], 'the level list');
  for (let i = 0; i < 15; ++i) await tapControl(view, 'Down');
  await sleep(300);
  const list = await shot(view, 'landscape-extreme-plus');
  // "Extreme+" is violet (red 128, blue 255) on the seventh line.
  const [top, bottom] = [point(view, box, 'logical', 160, 408), point(view, box, 'logical', 480, 440)];
  let violet = 0;
  for (let y = Math.round(top.y); y < bottom.y; ++y) {
    for (let x = Math.round(top.x); x < bottom.x; ++x) {
      const [r, g, b] = colourAt(list, x, y, 0);
      violet += b > 200 && r > 90 && r < 170 && g < 60 ? 1 : 0;
    }
  }
  if (violet < 20) fail(`the seventh line does not show Extreme+ (${violet} violet pixels)`);
  await tap(view, point(view, box, 'logical', 320, 425));
  await waitForControls(view, ['Back', 'Undo', 'Redo', 'Hint', 'Marks', 'Copy'], 'Extreme+');
  await backToTitle(view, 'back from Extreme+');
}

// Portrait: the picture at the top, full width, at the real pixel size, the controls under it;
// the phone turned to landscape between a tap and its disc loses nothing.
async function portraitGame(browser, origin) {
  const view = await openPhone(browser, origin, portrait, 'portrait');
  const layout = await checkLayout(view, 'portrait title');
  if (Math.abs(layout.picture.top) > 0.5 || Math.abs(layout.picture.right - 390) > 0.5) {
    fail(`portrait: the picture is at ${JSON.stringify(layout.picture)}`);
  }
  const canvas = await view.page.evaluate(() => [Module.canvas.width, Module.canvas.height]);
  if (canvas[0] !== 780 || Math.abs(canvas[1] - 585) > 1) fail(`portrait: the canvas is ${canvas}`);
  await startTwoPlayers(view, 'portrait');
  const controls = await checkLayout(view, 'portrait game');
  if (controls.buttons.some((b) => b.top < layout.picture.bottom)) fail('portrait: a control is above');
  const [x, y] = squareWorld(3, 2);
  await tap(view, point(view, await canvasBox(view), 'world', x, y, 0));
  await view.page.setViewport(landscape);
  await sleep(2500);
  const turned = await shot(view, 'portrait-turned');
  const landscapeBoard = squareLuminance(view, turned, 2, 3);
  // The disc the move turned (the pointer stands on the one it placed).
  if (squareContent(view, turned, 3, 3, landscapeBoard) !== 'black') fail('the move was lost');
  await checkLayout(view, 'turned to landscape');
  await play(view, 'turned', 2, 2, 'white', landscapeBoard);
  await view.page.setViewport(portrait);
  await sleep(800);
  await checkLayout(view, 'turned back to portrait');
  await view.page.close();
}

await runTest('touch test', problems, () => withChromium(siteDir, async (browser, server) => {
  await browser.defaultBrowserContext().overridePermissions(server.origin,
    ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
  const view = await landscapeGame(browser, server.origin);
  await pasteGame(view);
  await extremePlus(view);
  await view.page.close();
  await portraitGame(browser, server.origin);
}));
