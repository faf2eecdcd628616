// The page's side of the browser build: the bitmaps into the program's files before it starts,
// the score file out of and back into the browser's storage, and the ended state.
'use strict';

var scoresKey = 'vornix/textures/scores.asc';
var bitmaps = ['background.bmp', 'cube.bmp', 'icons.bmp'];
var programRunning = false;
var programEnded = false;
var scoresToLoad = null;

function byId(id) {
  return document.getElementById(id);
}

// Storage keeps the file as a string of char codes 0..255, one per byte.
function bytesToString(bytes) {
  var parts = [];
  for (var at = 0; at < bytes.length; at += 8192) {
    parts.push(String.fromCharCode.apply(null, bytes.subarray(at, at + 8192)));
  }
  return parts.join('');
}

function stringToBytes(text) {
  var bytes = new Uint8Array(text.length);
  for (var i = 0; i < text.length; ++i) {
    bytes[i] = text.charCodeAt(i) & 255;
  }
  return bytes;
}

function storedScores() {
  try {
    return localStorage.getItem(scoresKey);
  } catch (e) {
    return null;
  }
}

// The program reads its three bitmaps from "textures/" at start-up; main waits until each fetch
// has either written its file or failed (a missing bitmap leaves its surface empty, as on the desktop).
function fetchBitmaps(module) {
  var fs = module.FS;
  try {
    fs.mkdir('textures');
  } catch (e) {
    // Already there: a second run in the same runtime.
  }
  bitmaps.forEach(function (name) {
    var dependency = 'bitmap ' + name;
    module.addRunDependency(dependency);
    fetch('textures/' + name)
      .then(function (response) {
        if (!response.ok) {
          throw new Error(response.status + ' ' + response.statusText);
        }
        return response.arrayBuffer();
      })
      .then(function (buffer) {
        fs.writeFile('textures/' + name, new Uint8Array(buffer));
      })
      .catch(function (error) {
        console.warn('textures/' + name + ' not loaded: ' + error.message);
      })
      .then(function () {
        module.removeRunDependency(dependency);
      });
  });
}

// The stored table is replaced whole, and the next start reads it with the game's own reader.
function storeAndReload(text) {
  try {
    localStorage.setItem(scoresKey, text);
  } catch (e) {
    byId('storage-note').hidden = false;
    return;
  }
  location.reload();
}

function programEnd() {
  if (programEnded) {
    return;
  }
  programEnded = true;
  programRunning = false;
  if (scoresToLoad !== null) {
    var text = scoresToLoad;
    scoresToLoad = null;
    storeAndReload(text);
    return;
  }
  byId('ended').hidden = false;
  // Space or Enter now starts Vornix again.
  byId('start-again').focus();
}

var Module = {
  canvas: byId('screen'),
  preRun: [function () {
    fetchBitmaps(Module);
  }],
  onRuntimeInitialized: function () {
    programRunning = true;
  },
  // Called by the platform once the program has returned (Escape, or the close asked below).
  vornixEnded: function () {
    programEnd();
  },
  onExit: function () {
    programEnd();
  }
};

// Buttons never keep the keyboard: the game's keys go to the window.
function releaseFocus() {
  var active = document.activeElement;
  if (active && active !== document.body && byId('bar').contains(active)) {
    active.blur();
  }
}

byId('download-scores').addEventListener('click', function (event) {
  var link = event.currentTarget;
  var text = storedScores();
  if (text === null) {
    // Nothing is saved until the first game ends or Vornix quits; no file is made up.
    event.preventDefault();
    link.title = 'No scores are saved yet.';
    releaseFocus();
    return;
  }
  var url = URL.createObjectURL(new Blob([stringToBytes(text)], {type: 'application/octet-stream'}));
  link.href = url;
  link.download = 'scores.asc';
  link.title = '';
  setTimeout(function () {
    URL.revokeObjectURL(url);
    link.href = '#';
    link.removeAttribute('download');
  }, 1000);
  setTimeout(releaseFocus, 0);
});

byId('load-scores').addEventListener('change', function (event) {
  var input = event.currentTarget;
  var file = input.files && input.files[0];
  input.blur();
  if (!file) {
    return;
  }
  file.arrayBuffer().then(function (buffer) {
    input.value = '';
    var text = bytesToString(new Uint8Array(buffer));
    if (programRunning && !programEnded) {
      // The program saves its own table as it ends; the chosen file then takes its place.
      scoresToLoad = text;
      Module._VornixRequestClose();
    } else {
      storeAndReload(text);
    }
  });
});

byId('start-again').addEventListener('click', function () {
  location.reload();
});

// Back from the file chooser (chosen or cancelled) or from another window: keys to the game.
window.addEventListener('focus', releaseFocus);
byId('bar').addEventListener('pointerup', function () {
  setTimeout(releaseFocus, 0);
});
