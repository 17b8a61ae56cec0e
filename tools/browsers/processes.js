'use strict';
// What the browser driver starts: each program in a process group of its own, all ended when the
// driver ends, however it ends (done, failed, its own deadline, a signal), so that nothing is left
// running; and the X servers that the engines which cannot draw WebGL headless need.
const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const groups = new Set(); // the process groups started, by their leader's id
const folders = new Set(); // temporary folders (browser profiles)

function endGroup(pid) {
  try {
    process.kill(-pid, 'SIGKILL');
  } catch (gone) {
    // already ended
  }
  groups.delete(pid);
}

function endAll() {
  for (const pid of [...groups]) endGroup(pid);
  for (const folder of folders) fs.rmSync(folder, { recursive: true, force: true, maxRetries: 5, retryDelay: 50 });
  folders.clear();
}
process.on('exit', endAll);
for (const signal of ['SIGINT', 'SIGTERM', 'SIGHUP']) {
  process.on(signal, () => {
    console.error(`ended by ${signal}; the browsers are ended with it`);
    process.exit(1);
  });
}

// A process group whose leader is `pid` (a program started detached), ended with the driver.
function track(pid) {
  groups.add(pid);
  return () => endGroup(pid);
}

function start(command, args, options = {}) {
  const child = spawn(command, args, { stdio: 'ignore', ...options, detached: true });
  if (child.pid) track(child.pid);
  return child;
}

function temporaryFolder(prefix) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), prefix));
  folders.add(folder);
  return folder;
}

// The driver's own deadline: past it, whatever hangs, the driver says so, ends everything it
// started and fails.
function deadline(seconds, what) {
  setTimeout(() => {
    console.error(`${what}: FAILED: no end after ${seconds} s (the driver's deadline); its browsers are ended`);
    process.exit(1);
  }, seconds * 1000).unref();
}

// An X server of its own (Xvfb picks a free display), for the lifetime of one browser.
async function startXvfb() {
  const xvfb = start('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
    { stdio: ['ignore', 'ignore', 'pipe', 'pipe'] });
  let said = '';
  xvfb.stderr.on('data', (chunk) => { said += chunk; });
  const display = await new Promise((resolve, reject) => {
    let text = '';
    xvfb.stdio[3].on('data', (chunk) => {
      text += chunk;
      if (text.includes('\n')) resolve(':' + text.trim());
    });
    xvfb.on('error', (error) => reject(new Error(`Xvfb could not start (${error.message}): install xvfb`)));
    xvfb.on('exit', (code) => reject(new Error(`Xvfb ended at once (${code}): ${said.trim()}`)));
  });
  return { display, end: () => endGroup(xvfb.pid) };
}

module.exports = { start, track, endGroup, temporaryFolder, deadline, startXvfb };
