// The page's half of the search worker (the engine's SearchWorkerBrowser.cpp is the other): each
// worker the program opens is a Web Worker running search-worker.js, which answers one request
// at a time. A search is stopped by ending its Worker; a fresh one takes its place at once, so
// that its module is loaded by the time the next request comes.
//
// Module.octavaneSearch: open() -> slot (-1 without Web Workers), start(slot, bytes) -> false
// when the slot's worker has failed, state(slot) -> 0 idle, 1 busy, 2 done, 3 failed,
// reply(slot) -> the reply's bytes, stop(slot), close(slot).
(function () {
  var kIdle = 0;
  var kBusy = 1;
  var kDone = 2;
  var kFailed = 3;
  var slots = [];

  function spawn(slot) {
    var worker;
    try {
      worker = new Worker('search-worker.js');
    } catch (error) {
      console.warn('Octavane: the computer thinks on the page itself:', error);
      slot.failed = true;
      return;
    }
    slot.worker = worker;
    worker.onmessage = function (event) {
      var message = event.data;
      if (slot.worker !== worker || message.serial !== slot.serial || slot.state !== kBusy) {
        return;
      }
      if (message.failed) {
        console.warn('Octavane: the search worker failed:', message.failed);
        slot.failed = true;
        slot.state = kFailed;
        return;
      }
      slot.reply = new Uint8Array(message.reply);
      slot.state = kDone;
      Module['octavaneSearch'].replies += 1;
    };
    // A module that does not load (a site without the worker's files) leaves the searches to
    // the page, slower but whole.
    worker.onerror = function (event) {
      event.preventDefault();
      if (slot.worker !== worker) {
        return;
      }
      console.warn('Octavane: the search worker could not start:', event.message || event);
      slot.failed = true;
      if (slot.state === kBusy) {
        slot.state = kFailed;
      }
    };
  }

  Module['octavaneSearch'] = {
    replies: 0, // answers the workers sent, for the tests
    open: function () {
      if (typeof Worker === 'undefined') {
        return -1;
      }
      var slot = { worker: null, serial: 0, state: kIdle, reply: null, failed: false };
      spawn(slot);
      if (slot.failed) {
        return -1;
      }
      slots.push(slot);
      return slots.length - 1;
    },
    start: function (id, bytes) {
      var slot = slots[id];
      if (!slot || slot.failed) {
        return false;
      }
      slot.serial += 1;
      slot.state = kBusy;
      slot.reply = null;
      slot.worker.postMessage({ serial: slot.serial, request: bytes.buffer }, [bytes.buffer]);
      return true;
    },
    state: function (id) {
      return slots[id] ? slots[id].state : kFailed;
    },
    reply: function (id) {
      return slots[id] ? slots[id].reply : null;
    },
    stop: function (id) {
      var slot = slots[id];
      if (!slot || slot.state !== kBusy) {
        return;
      }
      slot.worker.terminate();
      slot.state = kIdle;
      spawn(slot);
    },
    close: function (id) {
      var slot = slots[id];
      if (slot) {
        if (slot.worker) {
          slot.worker.terminate();
        }
        slots[id] = null;
      }
    },
  };
})();
