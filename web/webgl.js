// The browser's side of the immediate-mode layer: one WebGL context with two shaders, one for the
// frame's transformed, coloured vertices and one for its smoothed segments' quads, and the few
// pieces of state the programs set, kept here too so that a context the browser loses and gives
// back draws as before.
mergeInto(LibraryManager.library, {
  $sculptGl: {
    gl: null,            // null without WebGL, and while the context is lost
    context: null,       // the canvas's context, lost or not
    plain: null,         // {program, buffers, current}: the vertices as they are
    smooth: null,        // {program, buffers, current, reachAt}: the smoothed segments' quads
    indices: null,       // {buffers, current}: the plain vertices' indices
    quads: null,         // {buffer, count}: the quads' indices, the same every frame
    kTurns: 3,           // buffers of each kind, taken in turn by the frames
    turn: 0,
    reach: 1,            // pixels from a smoothed line's centre to where its coverage ends
    state: [],           // [name, arguments] of each setting the program made, latest last
    onLost: null,        // told when the context goes, and with true when it comes back

    // No alpha in the drawing buffer: the clear colour's alpha is 0, and the page must not show
    // through. No multisampling, as GLUT gives none unless asked (GLUT_MULTISAMPLE): it would
    // soften the surfaces' edges, which GL leaves sharp, and halves the frame rate on a software
    // renderer. WebGL has no line smoothing: the line shader makes it. Returns false where the
    // browser gives no WebGL.
    init: function(canvas) {
      var context = canvas.getContext('webgl', {alpha: false, depth: true, stencil: false,
                                                antialias: false, preserveDrawingBuffer: false});
      if (!context) return false;
      sculptGl.context = context;
      // Preventing the default is what lets the browser give the context back.
      canvas.addEventListener('webglcontextlost', function(e) {
        e.preventDefault();
        sculptGl.gl = null;
        if (sculptGl.onLost) sculptGl.onLost(false);
      });
      canvas.addEventListener('webglcontextrestored', function() {
        sculptGl.build();
        if (sculptGl.onLost) sculptGl.onLost(true);
      });
      sculptGl.build();
      return true;
    },

    // The shaders, buffers and settings on a new or given-back context: everything a context
    // loses.
    build: function() {
      var gl = sculptGl.context;
      if (gl.isContextLost()) return;
      gl.getExtension('OES_element_index_uint');  // a frame has more than 65,536 vertices
      var link = function(vertex, fragment, attributes) {
        var program = gl.createProgram();
        [[gl.VERTEX_SHADER, vertex], [gl.FRAGMENT_SHADER, fragment]].forEach(function(s) {
          var shader = gl.createShader(s[0]);
          gl.shaderSource(shader, s[1]);
          gl.compileShader(shader);
          gl.attachShader(program, shader);
        });
        attributes.forEach(function(name, i) { gl.bindAttribLocation(program, i, name); });
        gl.linkProgram(program);
        return {program: program, buffers: sculptGl.buffers(gl), current: null};
      };
      sculptGl.plain = link(
        'attribute vec4 position; attribute vec4 colour; varying vec4 v;' +
        'void main() { gl_Position = position; v = colour; }',
        'precision mediump float; varying vec4 v; void main() { gl_FragColor = v; }',
        ['position', 'colour']);
      // Mesa's coverage of a smoothed line: falling from the centre line by one for each pixel
      // across beyond half the width less half a pixel, and over the pixel about each end. The
      // corners come divided by w (their position's w is 1), so the distances interpolate
      // straight across the screen; distances along a long segment need more than mediump's
      // eleven bits.
      sculptGl.smooth = link(
        'attribute vec4 position; attribute vec4 colour; attribute vec3 span;' +
        'varying vec4 v; varying vec3 s;' +
        'void main() { gl_Position = position; v = colour; s = span; }',
        '#ifdef GL_FRAGMENT_PRECISION_HIGH\nprecision highp float;\n#else\n' +
        'precision mediump float;\n#endif\n' +
        'uniform float reach; varying vec4 v; varying vec3 s;' +
        'void main() {' +
        '  float c = clamp(reach - abs(s.x), 0.0, 1.0) * clamp(0.5 + min(s.y, s.z), 0.0, 1.0);' +
        '  if (c <= 0.0) discard;' +
        '  gl_FragColor = vec4(v.rgb, v.a * c); }',
        ['position', 'colour', 'span']);
      sculptGl.smooth.reachAt = gl.getUniformLocation(sculptGl.smooth.program, 'reach');
      sculptGl.indices = {buffers: sculptGl.buffers(gl), current: null};
      sculptGl.quads = {buffer: gl.createBuffer(), count: 0};
      gl.enableVertexAttribArray(0);
      gl.enableVertexAttribArray(1);
      // GL's starting state where WebGL's differs: none that the programs rely on.
      sculptGl.state.forEach(function(setting) { gl[setting[0]].apply(gl, setting[1]); });
      sculptGl.gl = gl;
    },

    // A frame's buffers of one kind, one for each turn, each with the bytes it can hold.
    buffers: function(gl) {
      var ring = [];
      for (var i = 0; i < sculptGl.kTurns; ++i) ring.push({buffer: gl.createBuffer(), size: 0});
      return ring;
    },

    // Puts `data` in this turn's buffer of `kind`, bound to `target`. A buffer keeps its store
    // from frame to frame: a new one each frame costs the GPU process fresh memory, page by page,
    // and taking the buffers in turn leaves the ones that the last frames draw from alone.
    upload: function(gl, target, kind, data) {
      var b = kind.buffers[sculptGl.turn];
      gl.bindBuffer(target, b.buffer);
      if (b.size < data.byteLength) {
        b.size = Math.ceil(data.byteLength * 1.25);  // room for the frames to grow a little
        gl.bufferData(target, b.size, gl.DYNAMIC_DRAW);
      }
      gl.bufferSubData(target, 0, data);
      kind.current = b.buffer;
    },

    // Makes the quads' indices reach `count` quads: corners 4n, 4n + 1, 4n + 2 and 4n + 1,
    // 4n + 3, 4n + 2 for quad n, uploaded again only when the frames need more.
    growQuads: function(gl, count) {
      var q = sculptGl.quads;
      if (q.count >= count) return;
      q.count = Math.ceil(count * 1.25);
      var indices = new Uint32Array(q.count * 6);
      for (var n = 0; n < q.count; ++n) indices.set([4 * n, 4 * n + 1, 4 * n + 2, 4 * n + 1,
                                                     4 * n + 3, 4 * n + 2], 6 * n);
      gl.bindBuffer(gl.ELEMENT_ARRAY_BUFFER, q.buffer);
      gl.bufferData(gl.ELEMENT_ARRAY_BUFFER, indices, gl.STATIC_DRAW);
    },

    // Draws from here on with the plain shader, vertices and indices, or the smoothed segments'.
    use: function(gl, smooth) {
      var kind = smooth ? sculptGl.smooth : sculptGl.plain;
      gl.useProgram(kind.program);
      gl.bindBuffer(gl.ARRAY_BUFFER, kind.current);
      gl.bindBuffer(gl.ELEMENT_ARRAY_BUFFER,
                    smooth ? sculptGl.quads.buffer : sculptGl.indices.current);
      if (smooth) {
        gl.vertexAttribPointer(0, 3, gl.FLOAT, false, 28, 0);
        gl.vertexAttribPointer(1, 4, gl.UNSIGNED_BYTE, true, 28, 12);
        gl.enableVertexAttribArray(2);
        gl.vertexAttribPointer(2, 3, gl.FLOAT, false, 28, 16);
        gl.uniform1f(kind.reachAt, sculptGl.reach);
      } else {
        gl.vertexAttribPointer(0, 4, gl.FLOAT, false, 20, 0);
        gl.vertexAttribPointer(1, 4, gl.UNSIGNED_BYTE, true, 20, 16);
        gl.disableVertexAttribArray(2);
      }
    },

    // Keeps a setting, replacing an earlier one of the same kind (each capability its own), and
    // makes it on the context if there is one.
    set: function(name, args) {
      var key = name === 'enable' || name === 'disable' ? 'enable' + args[0] : name;
      sculptGl.state = sculptGl.state.filter(function(s) { return s[2] !== key; });
      sculptGl.state.push([name, args, key]);
      if (sculptGl.gl) sculptGl.gl[name].apply(sculptGl.gl, args);
    },
  },

  sculptWebGlDraw__deps: ['$sculptGl'],
  sculptWebGlDraw: function(vertices, vertexCount, lineVertices, lineVertexCount, indices,
                            indexCount, indicesChanged, ranges, rangeCount) {
    var gl = sculptGl.gl;
    if (!gl) return;
    sculptGl.turn = (sculptGl.turn + 1) % sculptGl.kTurns;
    if (lineVertexCount) {
      sculptGl.growQuads(gl, lineVertexCount / 4);
      sculptGl.upload(gl, gl.ARRAY_BUFFER, sculptGl.smooth,
                      HEAPU8.subarray(lineVertices, lineVertices + lineVertexCount * 28));
    }
    if (vertexCount) {
      sculptGl.upload(gl, gl.ARRAY_BUFFER, sculptGl.plain,
                      HEAPU8.subarray(vertices, vertices + vertexCount * 20));
    }
    // A new context has none of the indices that the frames before sent.
    if (indexCount && (indicesChanged || !sculptGl.indices.current)) {
      sculptGl.upload(gl, gl.ELEMENT_ARRAY_BUFFER, sculptGl.indices,
                      HEAPU32.subarray(indices >> 2, (indices >> 2) + indexCount));
    }
    var smooth = null;
    for (var r = 0; r < rangeCount; ++r) {
      var at = (ranges >> 2) + r * 4;
      if (HEAPU32[at + 3] !== smooth) sculptGl.use(gl, smooth = HEAPU32[at + 3]);
      gl.drawElements(HEAPU32[at], HEAPU32[at + 2], gl.UNSIGNED_INT, HEAPU32[at + 1] * 4);
    }
  },
  sculptWebGlEnable__deps: ['$sculptGl'],
  sculptWebGlEnable: function(capability) {
    sculptGl.set('enable', [capability]);
  },
  sculptWebGlDisable__deps: ['$sculptGl'],
  sculptWebGlDisable: function(capability) {
    sculptGl.set('disable', [capability]);
  },
  sculptWebGlBlendFunc__deps: ['$sculptGl'],
  sculptWebGlBlendFunc: function(source, destination) {
    sculptGl.set('blendFunc', [source, destination]);
  },
  sculptWebGlDepthFunc__deps: ['$sculptGl'],
  sculptWebGlDepthFunc: function(f) {
    sculptGl.set('depthFunc', [f]);
  },
  sculptWebGlLineWidth__deps: ['$sculptGl'],
  sculptWebGlLineWidth: function(width) {
    sculptGl.reach = width / 2 + 0.5;
    sculptGl.set('lineWidth', [width]);
  },
  sculptWebGlClearDepth__deps: ['$sculptGl'],
  sculptWebGlClearDepth: function(depth) {
    sculptGl.set('clearDepth', [depth]);
  },
  sculptWebGlClearColor__deps: ['$sculptGl'],
  sculptWebGlClearColor: function(r, g, b, a) {
    sculptGl.set('clearColor', [r, g, b, a]);
  },
  sculptWebGlClear__deps: ['$sculptGl'],
  sculptWebGlClear: function(mask) {
    if (sculptGl.gl) sculptGl.gl.clear(mask);
  },
  sculptWebGlViewport__deps: ['$sculptGl'],
  sculptWebGlViewport: function(x, y, width, height) {
    sculptGl.set('viewport', [x, y, width, height]);
  },
});
