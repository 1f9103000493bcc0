// What the browser layer takes from Emscripten's header, for building it natively in a test.
#pragma once
#define EMSCRIPTEN_KEEPALIVE
