// GLUT over a web page: the canvas is the window, filling the page for full screen and the real
// full screen when a key asks for it; keys, pointer, timers, a lost drawing context and the end of
// the program.
mergeInto(LibraryManager.library, {
  $sculptGlut__deps: ['$sculptGl'],
  $sculptGlut: {
    canvas: null,
    callbacks: {},
    timers: {},          // pending timers, by id: {timeout, fallback}
    lastTimer: 0,
    shown: true,         // the browser has begun a frame since the last swap, taking that one
    waiting: [],         // timers run out while the last frame was not yet taken
    kFallbackMs: 1000,   // ms a timer waits for the browser's next frame before running without
    ended: false,
    filled: false,       // full screen: the canvas fills the page, or the screen when allowed
    x: 0, y: 0,          // the window's place and size in CSS pixels while not filled
    width: 300, height: 150,
    reported: null,      // the drawing area's size as last passed to the reshape callback
    pointerX: 0, pointerY: 0,
    inGesture: false,    // in the handler of a key press or a tap, which may ask for the screen
    kLostMs: 5000,       // ms a lost drawing context may take to come back before the page says so
    lostTimer: 0,

    // Runs one of the program's callbacks, by its registered name or as a function pointer; the
    // program's exit ends the page's program.
    run: function(name, args) {
      var f = typeof name === 'number' ? name : sculptGlut.callbacks[name];
      if (sculptGlut.ended || !f) return;
      try {
        wasmTable.get(f).apply(null, args);
      } catch (e) {
        if (e instanceof ExitStatus || e === 'unwind') sculptGlut.end();
        else throw e;
      }
    },

    // Puts the canvas where the window is, sizes its drawing area in device pixels, and tells the
    // program of a new size as a window system would, once the current event is over.
    layout: function() {
      var c = sculptGlut.canvas, s = c.style;
      var width = sculptGlut.filled ? window.innerWidth : sculptGlut.width;
      var height = sculptGlut.filled ? window.innerHeight : sculptGlut.height;
      s.left = (sculptGlut.filled ? 0 : sculptGlut.x) + 'px';
      s.top = (sculptGlut.filled ? 0 : sculptGlut.y) + 'px';
      s.width = width + 'px';
      s.height = height + 'px';
      // Setting a canvas's size clears it, even to the size it has.
      var scale = window.devicePixelRatio || 1;
      if (c.width !== Math.round(width * scale)) c.width = Math.round(width * scale);
      if (c.height !== Math.round(height * scale)) c.height = Math.round(height * scale);
      var r = sculptGlut.reported;
      if (r && r[0] === c.width && r[1] === c.height) return;
      sculptGlut.reported = [c.width, c.height];
      setTimeout(function() {
        var now = sculptGlut.reported;
        sculptGlut.run('reshape', [now[0], now[1]]);
      }, 0);
    },

    // What each browser key is to GLUT: [true, code] for a character, [false, code] for a special.
    key: function(e) {
      var special = {F1: 1, F2: 2, F3: 3, F4: 4, F5: 5, F6: 6, F7: 7, F8: 8, F9: 9, F10: 10,
                     F11: 11, F12: 12, ArrowLeft: 100, ArrowUp: 101, ArrowRight: 102,
                     ArrowDown: 103, PageUp: 104, PageDown: 105, Home: 106, End: 107,
                     Insert: 108};
      var named = {Escape: 27, Enter: 13, Backspace: 8, Tab: 9, Delete: 127};
      if (e.key in special) return [false, special[e.key]];
      if (e.key in named) return [true, named[e.key]];
      if (e.key.length === 1 && e.key.charCodeAt(0) < 256) return [true, e.key.charCodeAt(0)];
      return null;
    },

    // Runs the keyboard or special-key callback for `code` as the user's own act.
    press: function(character, code) {
      sculptGlut.inGesture = true;
      try {
        sculptGlut.run(character ? 'keyboard' : 'special',
                       [code, sculptGlut.pointerX, sculptGlut.pointerY]);
      } finally {
        sculptGlut.inGesture = false;
      }
    },

    onKeyDown: function(e) {
      // Shortcuts with Ctrl, Alt or Meta stay the browser's: reload, close, its menus.
      if (sculptGlut.ended || e.ctrlKey || e.altKey || e.metaKey) return;
      var k = sculptGlut.key(e);
      if (!k) return;
      e.preventDefault();  // no scrolling by the arrows, no browser full screen by F11
      sculptGlut.press(k[0], k[1]);
    },

    pointer: function(e) {
      var box = sculptGlut.canvas.getBoundingClientRect();
      sculptGlut.pointerX = Math.round(e.clientX - box.left);
      sculptGlut.pointerY = Math.round(e.clientY - box.top);
    },

    // The drawing context went (false) or came back (true). The program runs on meanwhile, as
    // under a covered window; if the context stays away, the page says so.
    onLost: function(restored) {
      clearTimeout(sculptGlut.lostTimer);
      sculptGlut.show('lost', false);
      if (!restored && !sculptGlut.ended) {
        sculptGlut.lostTimer = setTimeout(function() {
          if (!sculptGlut.ended) sculptGlut.show('lost', true);
        }, sculptGlut.kLostMs);
      }
    },

    cancel: function(id) {
      var t = sculptGlut.timers[id];
      if (!t) return;
      clearTimeout(t.timeout);
      clearTimeout(t.fallback);
      delete sculptGlut.timers[id];
    },

    // The frame just drawn waits for the browser to take it at its next frame, and the timers that
    // ran out meanwhile run then.
    swapped: function() {
      sculptGlut.shown = false;
      requestAnimationFrame(function() {
        sculptGlut.shown = true;
        var waiting = sculptGlut.waiting;
        sculptGlut.waiting = [];
        waiting.forEach(function(fire) { fire(); });
      });
    },

    show: function(id, shown) {
      var line = document.getElementById(id);
      if (line) line.hidden = !shown;
    },

    // The program is over: no more frames or events, the canvas and the controls gone as a window
    // would be, and the line `why` that says so.
    end: function(why) {
      sculptGlut.ended = true;
      for (var id in sculptGlut.timers) sculptGlut.cancel(id);
      sculptGlut.timers = {};
      clearTimeout(sculptGlut.lostTimer);
      sculptTouch.stop();
      if (document.fullscreenElement) document.exitFullscreen().catch(function() {});
      sculptGlut.canvas.style.display = 'none';
      ['lost', 'controls'].forEach(function(id) { sculptGlut.show(id, false); });
      sculptGlut.show(why || 'ended', true);
    },
  },

  glutInit: function(argc, argv) {},
  glutInitDisplayMode: function(mode) {},  // the context always has depth and two buffers
  glutInitWindowSize__deps: ['$sculptGlut'],
  glutInitWindowSize: function(width, height) {
    sculptGlut.width = width;
    sculptGlut.height = height;
  },
  glutInitWindowPosition__deps: ['$sculptGlut'],
  glutInitWindowPosition: function(x, y) {
    sculptGlut.x = x;
    sculptGlut.y = y;
  },

  // The window is the page's canvas; its title stays the page's own.
  glutCreateWindow__deps: ['$sculptGlut', '$sculptTouch'],
  glutCreateWindow: function(title) {
    var c = document.getElementById('canvas');
    sculptGlut.canvas = c;
    if (!sculptGl.init(c)) {
      // Without WebGL the program cannot draw: it does not start, and the page says why.
      sculptGlut.end('nowebgl');
      return 1;
    }
    sculptGl.onLost = sculptGlut.onLost;
    window.addEventListener('keydown', sculptGlut.onKeyDown);
    window.addEventListener('resize', function() {
      if (sculptGlut.filled && !sculptGlut.ended) sculptGlut.layout();
    });
    c.addEventListener('contextmenu', function(e) { e.preventDefault(); });
    var button = function(state) {
      return function(e) {
        sculptGlut.pointer(e);
        sculptGlut.run('mouse', [e.button, state, sculptGlut.pointerX, sculptGlut.pointerY]);
      };
    };
    c.addEventListener('mousedown', button(0));  // GLUT_DOWN
    c.addEventListener('mouseup', button(1));    // GLUT_UP
    c.addEventListener('mousemove', function(e) {
      sculptGlut.pointer(e);
      sculptGlut.run(e.buttons ? 'motion' : 'passiveMotion',
                     [sculptGlut.pointerX, sculptGlut.pointerY]);
    });
    sculptTouch.init();
    sculptGlut.layout();
    // A new window is drawn once it shows, after its first size.
    setTimeout(function() { sculptGlut.run('display', []); }, 0);
    return 1;
  },

  glutDisplayFunc__deps: ['$sculptGlut'],
  glutDisplayFunc: function(f) { sculptGlut.callbacks.display = f; },
  glutReshapeFunc__deps: ['$sculptGlut'],
  glutReshapeFunc: function(f) { sculptGlut.callbacks.reshape = f; },
  glutMouseFunc__deps: ['$sculptGlut'],
  glutMouseFunc: function(f) { sculptGlut.callbacks.mouse = f; },
  glutKeyboardFunc__deps: ['$sculptGlut'],
  glutKeyboardFunc: function(f) { sculptGlut.callbacks.keyboard = f; },
  glutSpecialFunc__deps: ['$sculptGlut'],
  glutSpecialFunc: function(f) { sculptGlut.callbacks.special = f; },
  glutMotionFunc__deps: ['$sculptGlut'],
  glutMotionFunc: function(f) { sculptGlut.callbacks.motion = f; },
  glutPassiveMotionFunc__deps: ['$sculptGlut'],
  glutPassiveMotionFunc: function(f) { sculptGlut.callbacks.passiveMotion = f; },

  // A timer's callback runs once its period is over and the browser has taken the last frame
  // drawn, as the desktop's swap holds the program until its frame is on the screen: a frame drawn
  // before the browser took the one before would be drawn and never seen. A hidden page, which
  // gets no frames, runs it at once, and any page within a second, so the model goes on as under
  // a covered window.
  glutTimerFunc__deps: ['$sculptGlut'],
  glutTimerFunc: function(period, f, value) {
    if (sculptGlut.ended) return;
    var id = ++sculptGlut.lastTimer;
    var t = sculptGlut.timers[id] = {};
    var fire = function() {
      if (!sculptGlut.timers[id]) return;  // run already, or cancelled
      sculptGlut.cancel(id);
      sculptGlut.run(f, [value]);
    };
    t.timeout = setTimeout(function() {
      if (sculptGlut.shown || document.hidden) return fire();
      sculptGlut.waiting.push(fire);
      t.fallback = setTimeout(fire, sculptGlut.kFallbackMs);
    }, period);
  },

  // The browser's own event loop runs the program from here on; main returns into it.
  glutMainLoop: function() {},

  glutSwapBuffers__deps: ['$sculptGlut'],
  glutSwapBuffers: function() {
    _sculptFlush();  // the browser shows the frame once the current event is over
    sculptGlut.swapped();
  },

  glutGet__deps: ['$sculptGlut'],
  glutGet: function(query) {
    var box = sculptGlut.canvas ? sculptGlut.canvas.getBoundingClientRect() : null;
    switch (query) {
      case 100: return box ? Math.round(box.left) : 0;    // GLUT_WINDOW_X
      case 101: return box ? Math.round(box.top) : 0;     // GLUT_WINDOW_Y
      case 102: return box ? Math.round(box.width) : 0;   // GLUT_WINDOW_WIDTH
      case 103: return box ? Math.round(box.height) : 0;  // GLUT_WINDOW_HEIGHT
      case 200: return window.screen.width;               // GLUT_SCREEN_WIDTH
      case 201: return window.screen.height;              // GLUT_SCREEN_HEIGHT
      default: return 0;
    }
  },

  // The page is as near to full screen as a page may come unasked. A key press or a tap counts as
  // the user's gesture, so from one the screen itself is asked for as well.
  glutFullScreen__deps: ['$sculptGlut'],
  glutFullScreen: function() {
    sculptGlut.filled = true;
    if (sculptGlut.inGesture && document.documentElement.requestFullscreen) {
      document.documentElement.requestFullscreen().catch(function() {});
    }
    sculptGlut.layout();
  },
  glutReshapeWindow__deps: ['$sculptGlut'],
  glutReshapeWindow: function(width, height) {
    sculptGlut.filled = false;
    sculptGlut.width = width;
    sculptGlut.height = height;
    if (document.fullscreenElement) document.exitFullscreen().catch(function() {});
    sculptGlut.layout();
  },
  glutPositionWindow__deps: ['$sculptGlut'],
  glutPositionWindow: function(x, y) {
    sculptGlut.filled = false;
    sculptGlut.x = x;
    sculptGlut.y = y;
    sculptGlut.layout();
  },
  glutSetCursor__deps: ['$sculptGlut'],
  glutSetCursor: function(cursor) {
    // GLUT_CURSOR_NONE (101) hides it; GLUT_CURSOR_INHERIT (100) takes the page's.
    sculptGlut.canvas.style.cursor = cursor === 101 ? 'none' : cursor === 100 ? '' : 'default';
  },
});
