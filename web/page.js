'use strict';
// The page around the program: the container its windows (canvases) go into; the stage around it
// and the on-screen controls, which is what goes fullscreen; the message-box dialog; the pointer,
// mapped onto the picture; the controls, made from the program's key guide; the pictures, fetched
// into the program's file system; the capture tool's options of the address, handed to the program
// as arguments; and the notice at its end. The program calls in through QuorvanePage
// (src/platform/web_platform.cpp, src/app/main_web.cpp) and the page calls the program's
// Quorvane* functions.
var QuorvanePage = (function () {
  const stage = document.getElementById('quorvane-stage');
  const screen = document.getElementById('quorvane-screen');
  const controls = document.getElementById('quorvane-controls');
  const controlsToggle = document.getElementById('quorvane-controls-toggle');
  const status = document.getElementById('quorvane-status');
  const output = document.getElementById('quorvane-output');
  const page = {
    state: 'loading', // then 'running', and 'ended' or 'failed'
    presented: 0, // frames handed to the browser
    firstFrameMs: null, // from the start of the page's navigation to the first frame
    exitCode: null,
    lines: [], // what the program printed
  };
  let dialog = null;

  const canvasOf = (id) => document.getElementById('quorvane-canvas-' + id);

  page.createCanvas = function (id, width, height) {
    const canvas = document.createElement('canvas');
    canvas.id = 'quorvane-canvas-' + id;
    canvas.width = width;
    canvas.height = height;
    canvas.tabIndex = 0;
    canvas.hidden = true;
    screen.insertBefore(canvas, screen.firstChild);
    return true;
  };
  page.showCanvas = function (id) {
    for (const old of screen.querySelectorAll('canvas.retired')) old.remove();
    const canvas = canvasOf(id);
    if (canvas) canvas.hidden = false;
  };
  page.focusCanvas = (id) => canvasOf(id)?.focus({ preventScroll: true });
  page.retireCanvas = function (id) {
    const canvas = canvasOf(id);
    if (canvas) {
      canvas.classList.add('retired');
      canvas.style.cursor = '';
    }
  };
  page.setCursor = function (id, show) {
    const canvas = canvasOf(id);
    if (canvas) canvas.style.cursor = show ? '' : 'none';
  };

  page.isFullscreen = () => document.fullscreenElement === stage;
  // True once the container fills the screen; false when the browser refuses (no user gesture, a
  // frame without permission) or does not answer.
  page.requestFullscreen = async function () {
    if (!stage.requestFullscreen || !document.fullscreenEnabled) return false;
    let timer;
    const late = new Promise((resolve) => { timer = setTimeout(() => resolve('late'), 3000); });
    try {
      const result = await Promise.race([stage.requestFullscreen({ navigationUI: 'hide' }), late]);
      return result !== 'late' && page.isFullscreen();
    } catch (refused) {
      return false;
    } finally {
      clearTimeout(timer);
    }
  };
  page.exitFullscreen = function () {
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
  };

  // A modal box: the caption, the text and the buttons of the desktop's box. Resolves with the
  // button's code (IDOK 1, IDYES 6, IDNO 7).
  const Icons = { 0x10: ['stop', '\u00d7'], 0x30: ['exclamation', '!'], 0x40: ['information', 'i'] };
  page.messageBox = function (text, caption, yesNo, icon) {
    return new Promise((resolve) => {
      // The layer under the box keeps the pointer off the picture until the box is answered.
      const modal = document.createElement('div');
      modal.className = 'quorvane-modal';
      const box = document.createElement('div');
      box.className = 'quorvane-dialog';
      box.setAttribute('role', 'alertdialog');
      box.setAttribute('aria-modal', 'true');
      const title = document.createElement('div');
      title.className = 'caption';
      title.id = 'quorvane-dialog-caption';
      title.textContent = caption;
      box.setAttribute('aria-labelledby', title.id);
      const body = document.createElement('div');
      body.className = 'body';
      if (Icons[icon]) {
        const mark = document.createElement('span');
        mark.className = 'icon ' + Icons[icon][0];
        mark.textContent = Icons[icon][1];
        body.append(mark);
      }
      const message = document.createElement('p');
      message.className = 'text';
      message.textContent = text;
      body.append(message);
      const buttons = document.createElement('div');
      buttons.className = 'buttons';
      const answers = yesNo ? [['Yes', 6], ['No', 7]] : [['OK', 1]];
      const close = function (answer) {
        modal.remove();
        dialog = null;
        document.removeEventListener('focusin', keepFocus);
        screen.querySelector('canvas:not(.retired)')?.focus({ preventScroll: true });
        resolve(answer);
      };
      for (const [label, answer] of answers) {
        const button = document.createElement('button');
        button.type = 'button';
        button.textContent = label;
        button.addEventListener('click', () => close(answer));
        buttons.append(button);
      }
      const choices = [...buttons.children];
      // The box keeps the focus until it is answered: Tab goes round its buttons, and focus that
      // goes elsewhere in the page comes back.
      const keepFocus = (event) => {
        if (!box.contains(event.target)) choices[0].focus({ preventScroll: true });
      };
      document.addEventListener('focusin', keepFocus);
      // As on the desktop, Escape closes a box with one button only. The dialog's keys stay in it,
      // and the browser's own actions on F1 (its help) and the page keys are kept away.
      box.addEventListener('keydown', (event) => {
        event.stopPropagation();
        if (event.key === 'Escape' && !yesNo) close(1);
        if (event.key === 'Tab') {
          event.preventDefault();
          const at = choices.indexOf(document.activeElement);
          const next = (at + (event.shiftKey ? choices.length - 1 : 1)) % choices.length;
          choices[at < 0 ? 0 : next].focus({ preventScroll: true });
        }
        if (['F1', 'PageUp', 'PageDown', 'Home', 'End'].includes(event.key)) event.preventDefault();
      });
      box.addEventListener('keyup', (event) => event.stopPropagation());
      box.append(title, body, buttons);
      modal.append(box);
      screen.append(modal);
      dialog = box;
      choices[0].focus({ preventScroll: true });
    });
  };
  page.dialogOpen = () => dialog !== null;

  // After a frame: the page yields until the display's next refresh, or only as long as it takes
  // the browser to handle what waits (a message on a channel, which timers do not delay).
  const channel = new MessageChannel();
  const resumers = [];
  channel.port1.onmessage = () => resumers.shift()();
  page.present = function (followDisplay) {
    if (page.presented++ === 0) page.firstFrameMs = performance.now();
    return new Promise((resolve) => {
      if (followDisplay) {
        requestAnimationFrame(() => resolve());
      } else {
        resumers.push(resolve);
        channel.port2.postMessage(0);
      }
    });
  };
  // A loop that draws nothing (the page hidden) waits a little between its passes.
  page.idle = () => new Promise((resolve) => setTimeout(resolve, 10));

  // The pointer, in pixels of the picture: of the canvas's drawing buffer, wherever and however
  // large the page shows it. In fullscreen the canvas fills the screen and shows the picture
  // letterboxed (object-fit: contain), so the picture's own area is worked out; a point outside it
  // is clamped to its edge. A mouse's buttons are the desktop's; one finger (or pen) on the picture
  // is the right button, which turns the view. Only a press on the picture starts a drag, and every
  // event tells the program which buttons are still held, so a drag ends wherever it is released.
  const MK_LBUTTON = 1, MK_RBUTTON = 2;
  const liveCanvas = () => screen.querySelector('canvas:not(.retired):not([hidden])');
  page.pointer = { x: 0, y: 0 }; // the last point handed to the program
  let mouseHeld = 0; // the mouse buttons pressed on the picture and not yet released
  let touchDrag = null; // the pointer id of the finger that turns the view
  function picturePoint(event) {
    const canvas = liveCanvas();
    const box = canvas && canvas.getBoundingClientRect();
    const scale = box ? Math.min(box.width / canvas.width, box.height / canvas.height) : 0;
    if (!(scale > 0)) return { x: page.pointer.x, y: page.pointer.y, over: false };
    const x = (event.clientX - box.left - (box.width - canvas.width * scale) / 2) / scale;
    const y = (event.clientY - box.top - (box.height - canvas.height * scale) / 2) / scale;
    const clamp = (value, size) => Math.min(size - 1, Math.max(0, Math.floor(value)));
    const over = x >= 0 && y >= 0 && x < canvas.width && y < canvas.height;
    return { x: clamp(x, canvas.width), y: clamp(y, canvas.height), over };
  }
  function onPointer(event) {
    if (!Module._QuorvanePointer) return;
    const point = picturePoint(event);
    const onPicture = point.over && screen.contains(event.target) && !dialog;
    const before = mouseHeld | (touchDrag !== null ? MK_RBUTTON : 0);
    if (event.pointerType === 'mouse') {
      const buttons = event.type === 'pointercancel' ? 0 : event.buttons & (MK_LBUTTON | MK_RBUTTON);
      mouseHeld = onPicture ? buttons : mouseHeld & buttons;
      if (event.type === 'pointerdown' && mouseHeld) screen.setPointerCapture(event.pointerId);
    } else if (touchDrag === null) {
      if (event.type !== 'pointerdown' || !onPicture) return; // other fingers change nothing
      touchDrag = event.pointerId;
      screen.setPointerCapture(event.pointerId);
    } else if (event.pointerId !== touchDrag) {
      return;
    } else if (event.type === 'pointerup' || event.type === 'pointercancel') {
      touchDrag = null;
    }
    const held = mouseHeld | (touchDrag !== null ? MK_RBUTTON : 0);
    if (!point.over && !held && !before) return; // the mouse elsewhere on the page
    page.pointer = { x: point.x, y: point.y };
    Module._QuorvanePointer(point.x, point.y, held, point.over ? 1 : 0);
  }
  for (const type of ['pointerdown', 'pointermove', 'pointerup', 'pointercancel'])
    window.addEventListener(type, onPointer);
  // The right button and a long press belong to the scene, not to the browser's menu.
  stage.addEventListener('contextmenu', (event) => event.preventDefault());

  // The on-screen controls: one button per key of the key guide, which the program hands over
  // entry by entry, in the guide's groups. A button sends its key's key-down when pressed and its
  // key-up when let go, so a held key acts for as long as the finger stays and a switch acts once
  // per press, through the scene's own latch. F1 sends its press when the button is let go: a
  // touch lets the page go fullscreen only once it ends. Nothing reaches the scene while a dialog
  // is open.
  const VK_F1 = 0x70;
  function sendControl(code, action) {
    if (Module._QuorvaneControl && (action === 0 || !dialog)) Module._QuorvaneControl(code, action);
  }
  function controlButton(code, label, name, detail) {
    const button = document.createElement('button');
    button.type = 'button';
    button.className = 'quorvane-control';
    button.textContent = label;
    button.setAttribute('aria-label', name);
    button.title = detail;
    const pointers = new Set();
    const press = () => {
      if (dialog) return;
      button.classList.add('held');
      sendControl(code, 1);
    };
    const release = () => {
      if (!button.classList.contains('held')) return;
      button.classList.remove('held');
      sendControl(code, 0);
    };
    button.addEventListener('pointerdown', (event) => {
      if (event.button !== 0 || code === VK_F1) return;
      event.preventDefault(); // no focus, selection or emulated mouse events
      button.setPointerCapture(event.pointerId);
      if (pointers.size === 0) press();
      pointers.add(event.pointerId);
    });
    const lift = (event) => {
      if (pointers.delete(event.pointerId) && pointers.size === 0) release();
    };
    for (const type of ['pointerup', 'pointercancel', 'lostpointercapture']) button.addEventListener(type, lift);
    // F1 on any activation; the others only when activated without a pointer (the keyboard, a
    // screen reader), as a tap.
    button.addEventListener('click', (event) => {
      if (code === VK_F1) {
        sendControl(code, 2);
      } else if (event.detail === 0) {
        press();
        release();
      }
    });
    return button;
  }
  page.addKeyGuideEntry = function (keys, action, group, codes, detail) {
    if (!codes.length) return; // the drag: the picture itself
    let section = [...controls.children].find((child) => child.dataset.group === group);
    if (!section) {
      section = document.createElement('div');
      section.className = 'quorvane-group';
      section.dataset.group = group;
      section.setAttribute('role', 'group');
      section.setAttribute('aria-label', group);
      const heading = document.createElement('h2');
      heading.textContent = group;
      section.append(heading);
      controls.append(section);
    }
    // "Keypad + -" names two keys, "+" and "-", both on the keypad.
    const names = keys.split(' ');
    const prefix = names.slice(0, names.length - codes.length).join(' ');
    const entry = document.createElement('div');
    entry.className = 'quorvane-entry';
    const caption = document.createElement('span');
    caption.className = 'action';
    caption.textContent = action;
    caption.setAttribute('aria-hidden', 'true');
    entry.append(caption);
    const row = document.createElement('div');
    row.className = 'keys';
    const title = action.charAt(0).toUpperCase() + action.slice(1);
    codes.forEach((code, i) => {
      const name = names[names.length - codes.length + i];
      const key = prefix ? prefix + ' ' + name : name;
      row.append(controlButton(code, name, `${title} (${key})`, detail));
    });
    entry.append(row);
    section.append(entry);
    showControls();
  };
  // Shown on touch screens; anyone can show or hide them.
  const coarse = matchMedia('(pointer: coarse)');
  let controlsChosen = null;
  function showControls() {
    const open = controlsChosen ?? coarse.matches;
    controls.hidden = !open;
    stage.classList.toggle('with-controls', open);
    controlsToggle.setAttribute('aria-expanded', String(open));
    controlsToggle.textContent = (open ? 'Hide' : 'Show') + ' the on-screen controls';
  }
  coarse.addEventListener('change', showControls);
  controlsToggle.addEventListener('click', () => {
    controlsChosen = controls.hidden;
    showControls();
  });
  showControls();
  // For the page's tests: the keys (virtual-key codes) and the buttons (MK_*) the program holds.
  page.heldInput = function () {
    if (!Module._QuorvaneHeld) return null;
    const keys = [];
    for (let key = 1; key < 256; key++) if (Module._QuorvaneHeld(key)) keys.push(key);
    return { keys, buttons: Module._QuorvaneHeld(-1) };
  };

  function setState(state, text) {
    page.state = state;
    if (text !== undefined) status.textContent = text;
    else if (state === 'running') status.textContent = '';
  }

  page.programEnded = function (exitCode) {
    page.exitCode = exitCode;
    page.exitFullscreen();
    const notice = document.createElement('div');
    notice.className = 'quorvane-ended';
    notice.textContent = 'The program has ended.';
    const again = document.createElement('button');
    again.type = 'button';
    again.textContent = 'Start again';
    again.addEventListener('click', () => location.reload());
    notice.append(again);
    screen.append(notice);
    setState('ended', 'The program has ended (exit code ' + exitCode + ').');
  };

  // The capture tool's options, from the address: ?frames=150&shots=1,60&input=...&bench. Only an
  // address that names `frames`, the tool's one required option, runs the tool, and then every
  // option goes to it, so that a misspelt one is refused. Any other address runs the scene: a link
  // that comes back from a social site with ?fbclid=... or ?utm_source=... still works.
  const options = [];
  const parameters = new URLSearchParams(location.search);
  if (parameters.has('frames')) {
    for (const [name, value] of parameters) {
      options.push('--' + name);
      if (name !== 'bench' || value !== '') options.push(value);
    }
  }
  const print = function (line) {
    page.lines.push(line);
    console.log(line);
    if (options.length) {
      output.hidden = false;
      output.textContent += line + '\n';
    }
  };

  // The pictures go into the program's file system before it starts; one the server does not
  // have is simply not there, as a missing file on the desktop.
  function loadPictures() {
    const FS = Module.FS;
    Module.addRunDependency('quorvane-pictures');
    FS.mkdir('/data');
    const load = (name) =>
      fetch('data/' + name, { cache: 'no-store' })
        .then((response) => (response.ok ? response.arrayBuffer() : null))
        .catch(() => null)
        .then((bytes) => { if (bytes) FS.writeFile('/data/' + name, new Uint8Array(bytes)); });
    Promise.all([load('t1.bmp'), load('star.bmp')]).then(() => Module.removeRunDependency('quorvane-pictures'));
  }

  window.Module = {
    arguments: options,
    preRun: [loadPictures],
    print: print,
    printErr: print,
    onRuntimeInitialized: () => setState('running'),
    onAbort: (what) => setState('failed', 'The program stopped with an error: ' + what),
  };
  return page;
})();
