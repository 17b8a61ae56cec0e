'use strict';
// The page around the program: the container its windows (canvases) go into, which is also what
// goes fullscreen; the message-box dialog; the pictures, fetched into the program's file system;
// the options of the address, handed to the program as arguments; and the notice at its end.
// The program calls in through QuorvanePage (src/platform/web_platform.cpp).
var QuorvanePage = (function () {
  const screen = document.getElementById('quorvane-screen');
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
    // The right button turns the view.
    canvas.addEventListener('contextmenu', (event) => event.preventDefault());
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

  page.isFullscreen = () => document.fullscreenElement === screen;
  // True once the container fills the screen; false when the browser refuses (no user gesture, a
  // frame without permission) or does not answer.
  page.requestFullscreen = async function () {
    if (!screen.requestFullscreen || !document.fullscreenEnabled) return false;
    let timer;
    const late = new Promise((resolve) => { timer = setTimeout(() => resolve('late'), 3000); });
    try {
      const result = await Promise.race([screen.requestFullscreen({ navigationUI: 'hide' }), late]);
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
      const box = document.createElement('div');
      box.className = 'quorvane-dialog';
      box.setAttribute('role', 'alertdialog');
      box.setAttribute('aria-modal', 'true');
      const title = document.createElement('div');
      title.className = 'caption';
      title.textContent = caption;
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
        box.remove();
        dialog = null;
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
      // As on the desktop, Escape closes a box with one button only. The dialog's keys stay in it.
      box.addEventListener('keydown', (event) => {
        event.stopPropagation();
        if (event.key === 'Escape' && !yesNo) close(1);
      });
      box.addEventListener('keyup', (event) => event.stopPropagation());
      box.append(title, body, buttons);
      screen.append(box);
      dialog = box;
      buttons.firstChild.focus({ preventScroll: true });
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

  // The capture tool's options, from the address: ?frames=150&shots=1,60&input=...&bench.
  const options = [];
  for (const [name, value] of new URLSearchParams(location.search)) {
    options.push('--' + name);
    if (name !== 'bench' || value !== '') options.push(value);
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
