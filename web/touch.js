// The on-screen controls of a touch screen: arrow buttons that press the arrow keys, repeating
// while held as a held key does, and a full-screen button for F11. They show on a device whose
// pointer is a finger, or on a device with both once it is touched.
mergeInto(LibraryManager.library, {
  $sculptTouch__deps: ['$sculptGlut'],
  $sculptTouch: {
    kDelay: 500,   // ms from a press to the first repeat, as a desktop keyboard's
    kPeriod: 40,   // ms between repeats after that: 25 a second
    repeat: 0,     // the timer of the held arrow's next press, or 0

    init: function() {
      var controls = document.getElementById('controls');
      if (!controls) return;
      var show = function() {
        if (!sculptGlut.ended) controls.hidden = false;
      };
      if (matchMedia('(pointer: coarse)').matches) show();
      window.addEventListener('pointerdown', function(e) {
        if (e.pointerType === 'touch') show();
      }, true);
      controls.querySelectorAll('button[data-key]').forEach(function(button) {
        var key = Number(button.dataset.key);
        button.addEventListener('pointerdown', function(e) {
          e.preventDefault();
          sculptTouch.hold(key);
        });
        ['pointerup', 'pointercancel', 'pointerleave'].forEach(function(type) {
          button.addEventListener(type, sculptTouch.stop);
        });
        // A touch keeps its button until lifted, so no leave comes when the finger slides off.
        button.addEventListener('pointermove', function(e) {
          var r = button.getBoundingClientRect();
          if (e.clientX < r.left || e.clientX > r.right || e.clientY < r.top ||
              e.clientY > r.bottom) {
            sculptTouch.stop();
          }
        });
        // Pressed from the keyboard or by a screen reader, which send a click and no pointer.
        button.addEventListener('click', function(e) {
          if (e.detail === 0) sculptGlut.press(false, key);
        });
      });
      document.getElementById('screen').addEventListener('click', sculptTouch.fullScreen);
      controls.addEventListener('contextmenu', function(e) { e.preventDefault(); });
      document.addEventListener('visibilitychange', sculptTouch.stop);
    },

    // Presses `key` now, again after kDelay, then every kPeriod until stopped.
    hold: function(key) {
      sculptTouch.stop();
      var press = function(wait) {
        sculptGlut.press(false, key);
        if (!sculptGlut.ended) sculptTouch.repeat = setTimeout(press, wait, sculptTouch.kPeriod);
      };
      press(sculptTouch.kDelay);
    },

    stop: function() {
      clearTimeout(sculptTouch.repeat);
      sculptTouch.repeat = 0;
    },

    // F11's counterpart. The program starts filling the page, where F11 would give the small
    // window; a user who taps "Full screen" there wants the screen, so the page asks for it. From
    // the screen or the small window the tap is F11.
    fullScreen: function() {
      var page = document.documentElement;
      if (sculptGlut.filled && !document.fullscreenElement && page.requestFullscreen) {
        page.requestFullscreen().catch(function() {});
      } else {
        sculptGlut.press(false, 11);  // GLUT_KEY_F11
      }
    },
  },
});
