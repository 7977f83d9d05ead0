// The page's touch controls: real buttons beside the 4:3 picture for what a phone has no key
// for, shown once the player touches the screen (or from the start where the pointer is coarse).
// The game says which of them act on its screen (window.octavaneControls.show, a bit set of the
// program's page controls); a press goes back to the game as the key it stands for. The record's
// copy and paste go through the browser's clipboard where the browser allows it.
//
// `?touch` in the address asks for the touch layout from the start, on any device.
//
// Layout: in landscape the picture stays centred and the controls sit in the bars either side
// (the picture shrinks where the bars are too narrow for them); in portrait the picture sits at
// the top, full width, with the controls below. Everything stays inside the safe area.
(function () {
  'use strict';

  // The program's page controls, in its order: the number is the bit and the control's id.
  var kControls = [
    { id: 0, name: 'Back', side: 'left' },
    { id: 1, name: 'Pass', side: 'right' },
    { id: 2, name: 'Undo', side: 'left' },
    { id: 3, name: 'Redo', side: 'left' },
    { id: 4, name: 'Hint', side: 'right' },
    { id: 5, name: 'Marks', side: 'right' },
    { id: 6, name: 'Copy', side: 'right' },
    { id: 7, name: 'Paste', side: 'right' },
    { id: 8, name: 'Up', side: 'left' },
    { id: 9, name: 'Down', side: 'left' },
    { id: 10, name: 'Analysis', side: 'right' }
  ];
  var kPaste = 7;
  // A column of controls: the widest button and the padding either side of it.
  var kColumnPx = 64 + 16;
  // A row of controls and its padding; portrait keeps room for two under the picture.
  var kRowPx = 48 + 16;
  var kRowsPx = 2 * kRowPx;
  // After a Control+V, how long the browser's paste event may take before the clipboard is read
  // another way.
  var kPasteEventWaitMs = 150;

  var canvas = document.getElementById('canvas');
  var safeArea = document.createElement('div');
  safeArea.id = 'safe-area';
  var groups = { left: document.createElement('div'), right: document.createElement('div') };
  var buttons = [];
  var shownSet = 0;
  var touchMode = false;
  var lastPointerType = 'touch';

  function fullScreenApi() {
    var root = document.documentElement;
    return root.requestFullscreen ? 'standard' : (root.webkitRequestFullscreen ? 'webkit' : '');
  }

  function toggleFullScreen() {
    var root = document.documentElement;
    if (document.fullscreenElement || document.webkitFullscreenElement) {
      (document.exitFullscreen || document.webkitExitFullscreen).call(document);
    } else if (fullScreenApi() === 'standard') {
      root.requestFullscreen().catch(function () {});
    } else if (fullScreenApi() === 'webkit') {
      root.webkitRequestFullscreen();
    }
  }

  function game() {
    return window.Module && window.Module._OctavanePressControl ? window.Module : null;
  }

  function press(id, touched) {
    var module = game();
    if (module) {
      module._OctavanePressControl(id, touched ? 1 : 0);
    }
  }

  // The clipboard's text, or null where the browser refuses or has no clipboard API.
  function readClipboard() {
    if (!navigator.clipboard || !navigator.clipboard.readText) {
      return Promise.resolve(null);
    }
    return navigator.clipboard.readText().catch(function () { return null; });
  }

  // Paste with `text` from the clipboard (null: the game's own last copy).
  function paste(text, touched) {
    var module = game();
    if (module) {
      module.ccall('OctavanePasteText', null, ['string', 'number'], [text, touched ? 1 : 0]);
    }
  }

  function act(control, touched) {
    if (control.id === kPaste) {
      readClipboard().then(function (text) { paste(text, touched); });
    } else if (control.id < 0) {
      toggleFullScreen();
    } else {
      press(control.id, touched);
    }
  }

  function makeButton(control) {
    var button = document.createElement('button');
    button.type = 'button';
    button.textContent = control.name;
    button.setAttribute('aria-label', control.name);
    button.hidden = true;
    // The keyboard's focus stays with the game.
    button.addEventListener('mousedown', function (event) { event.preventDefault(); });
    button.addEventListener('pointerdown', function (event) {
      lastPointerType = event.pointerType || 'touch';
    });
    button.addEventListener('click', function (event) {
      event.preventDefault();
      button.blur();
      act(control, lastPointerType !== 'mouse');
    });
    groups[control.side].appendChild(button);
    return button;
  }

  function show(set) {
    shownSet = set;
    kControls.forEach(function (control, index) {
      buttons[index].hidden = (set & (1 << control.id)) === 0;
    });
  }

  function place(element, left, top, width, height) {
    element.style.left = left + 'px';
    element.style.top = top + 'px';
    element.style.width = Math.max(0, width) + 'px';
    element.style.height = Math.max(0, height) + 'px';
  }

  function layout() {
    if (!touchMode) {
      return;
    }
    var w = window.innerWidth;
    var h = window.innerHeight;
    var safe = safeArea.getBoundingClientRect();
    if (w * 3 >= h * 4) {
      // Landscape: the bars beside the picture, or room made for them.
      var bar = (w - h * 4 / 3) / 2;
      var side = Math.max(safe.left, w - safe.right) + kColumnPx;
      var canvasLeft = bar >= side ? 0 : side;
      place(canvas, canvasLeft, 0, w - 2 * canvasLeft, h);
      var pictureWidth = Math.min(w - 2 * canvasLeft, h * 4 / 3);
      var pictureLeft = (w - pictureWidth) / 2;
      place(groups.left, safe.left, safe.top, pictureLeft - safe.left, safe.height);
      place(groups.right, pictureLeft + pictureWidth, safe.top,
            safe.right - pictureLeft - pictureWidth, safe.height);
      groups.left.style.flexDirection = groups.right.style.flexDirection = 'column';
      groups.right.style.alignContent = '';
    } else {
      // Portrait: the picture at the top, full width, the controls in rows below it.
      var height = Math.min(w * 3 / 4, safe.height - kRowsPx);
      place(canvas, 0, safe.top, w, height);
      var below = safe.top + height;
      place(groups.left, safe.left, below, safe.width, kRowPx);
      place(groups.right, safe.left, below + kRowPx, safe.width, safe.bottom - below - kRowPx);
      groups.left.style.flexDirection = groups.right.style.flexDirection = 'row';
      groups.right.style.alignContent = 'flex-start';
    }
  }

  // From the first touch on (or from the start on a coarse pointer) the page is a touch page.
  function enterTouchMode() {
    if (touchMode) {
      return;
    }
    touchMode = true;
    document.body.classList.add('touch');
    layout();
    // The game sizes its picture from the canvas on the window's resize.
    window.dispatchEvent(new Event('resize'));
  }

  // Control+V: the browser's paste event carries the clipboard without asking the player; where
  // none comes, the clipboard API is asked, and the game's own last copy serves where that too
  // is refused. The key itself never reaches the game, which pastes once the text is here.
  var pasteWaiting = false;
  function isPasteKey(event) {
    return (event.ctrlKey || event.metaKey) && !event.altKey && (event.key === 'v' ||
                                                                   event.key === 'V');
  }
  function pasteKeys(event) {
    if (!isPasteKey(event)) {
      return;
    }
    event.stopImmediatePropagation();
    if (event.type !== 'keydown' || event.repeat) {
      return;
    }
    pasteWaiting = true;
    setTimeout(function () {
      if (pasteWaiting) {
        pasteWaiting = false;
        readClipboard().then(function (text) { paste(text, false); });
      }
    }, kPasteEventWaitMs);
  }
  function pasteEvent(event) {
    if (!pasteWaiting) {
      return;
    }
    pasteWaiting = false;
    event.preventDefault();
    var text = event.clipboardData ? event.clipboardData.getData('text/plain') : '';
    paste(text || null, false);
  }

  document.body.appendChild(safeArea);
  groups.left.className = groups.right.className = 'controls';
  groups.left.id = 'controls-left';
  groups.right.id = 'controls-right';
  buttons = kControls.map(makeButton);
  document.body.appendChild(groups.left);
  document.body.appendChild(groups.right);
  if (fullScreenApi()) {
    makeButton({ id: -1, name: 'Full screen', side: 'right' }).hidden = false;
  }

  window.addEventListener('resize', layout);
  window.addEventListener('orientationchange', layout);
  window.addEventListener('touchstart', enterTouchMode, { capture: true, passive: true });
  window.addEventListener('keydown', pasteKeys, true);
  window.addEventListener('keyup', pasteKeys, true);
  document.addEventListener('paste', pasteEvent);
  // A finger on the picture is the game's alone: no mouse events made from it, no scrolling,
  // zooming or menu.
  ['touchstart', 'touchmove', 'touchend'].forEach(function (name) {
    canvas.addEventListener(name, function (event) { event.preventDefault(); }, { passive: false });
  });
  document.addEventListener('contextmenu', function (event) { event.preventDefault(); });
  document.addEventListener('gesturestart', function (event) { event.preventDefault(); });

  window.octavaneControls = {
    show: show,
    shown: function () { return shownSet; },
    touchMode: function () { return touchMode; }
  };
  var asked = /[?&]touch\b/.test(window.location.search);
  if (asked || (window.matchMedia && window.matchMedia('(pointer: coarse)').matches)) {
    enterTouchMode();
  }
})();
