// The Web Worker in which the engine answers the page's searches (see search-page.js), so that
// the page's thread keeps drawing while the computer thinks. It loads the engine-only module
// (octavane-search.js and .wasm), then answers each message { serial, request } with
// { serial, reply } (the bytes of a reply), or { serial, failed } when it cannot.
'use strict';

var pending = [];
var ready = false;

function answer(message) {
  var engine = self.Module;
  var request = 0;
  var reply = 0;
  try {
    var requestSize = engine._OctavaneRequestSize();
    var replySize = engine._OctavaneReplySize();
    if (message.request.byteLength !== requestSize) {
      throw new Error('a request of ' + message.request.byteLength + ' bytes, not ' + requestSize);
    }
    request = engine._malloc(requestSize);
    reply = engine._malloc(replySize);
    engine.HEAPU8.set(new Uint8Array(message.request), request);
    engine._OctavaneAnswerSearch(request, reply);
    var bytes = engine.HEAPU8.slice(reply, reply + replySize);
    self.postMessage({ serial: message.serial, reply: bytes.buffer }, [bytes.buffer]);
  } catch (error) {
    self.postMessage({ serial: message.serial, failed: String(error) });
  } finally {
    if (request) engine._free(request);
    if (reply) engine._free(reply);
  }
}

self.onmessage = function (event) {
  if (ready) {
    answer(event.data);
  } else {
    pending.push(event.data);
  }
};

self.Module = {
  onRuntimeInitialized: function () {
    ready = true;
    pending.splice(0).forEach(answer);
  },
  print: function (text) { console.log(text); },
  printErr: function (text) { console.warn(text); },
};
importScripts('octavane-search.js');
