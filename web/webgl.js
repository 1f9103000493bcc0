// The browser's side of the immediate-mode layer: one WebGL context with one shader that draws the
// frame's batch of transformed, coloured vertices, and the few pieces of state the programs set,
// kept here too so that a context the browser loses and gives back draws as before.
mergeInto(LibraryManager.library, {
  $sculptGl: {
    gl: null,            // null without WebGL, and while the context is lost
    context: null,       // the canvas's context, lost or not
    vertexBuffer: null,
    indexBuffer: null,
    state: [],           // [name, arguments] of each setting the program made, latest last
    onLost: null,        // told when the context goes, and with true when it comes back

    // No alpha in the drawing buffer: the clear colour's alpha is 0, and the page must not show
    // through. No multisampling, as GLUT gives none unless asked (GLUT_MULTISAMPLE): it would
    // soften the surfaces' edges, which GL leaves sharp, and halves the frame rate on a software
    // renderer. WebGL has no line smoothing, so lines are drawn aliased. Returns false where the
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

    // The shader, buffers and settings on a new or given-back context: everything a context
    // loses.
    build: function() {
      var gl = sculptGl.context;
      if (gl.isContextLost()) return;
      gl.getExtension('OES_element_index_uint');  // a frame has more than 65,536 vertices
      var shader = function(type, source) {
        var s = gl.createShader(type);
        gl.shaderSource(s, source);
        gl.compileShader(s);
        return s;
      };
      var program = gl.createProgram();
      gl.attachShader(program, shader(gl.VERTEX_SHADER,
        'attribute vec4 position; attribute vec4 colour; varying vec4 v;' +
        'void main() { gl_Position = position; v = colour; }'));
      gl.attachShader(program, shader(gl.FRAGMENT_SHADER,
        'precision mediump float; varying vec4 v; void main() { gl_FragColor = v; }'));
      gl.bindAttribLocation(program, 0, 'position');
      gl.bindAttribLocation(program, 1, 'colour');
      gl.linkProgram(program);
      gl.useProgram(program);
      sculptGl.vertexBuffer = gl.createBuffer();
      sculptGl.indexBuffer = gl.createBuffer();
      gl.bindBuffer(gl.ARRAY_BUFFER, sculptGl.vertexBuffer);
      gl.bindBuffer(gl.ELEMENT_ARRAY_BUFFER, sculptGl.indexBuffer);
      gl.enableVertexAttribArray(0);
      gl.enableVertexAttribArray(1);
      gl.vertexAttribPointer(0, 4, gl.FLOAT, false, 20, 0);
      gl.vertexAttribPointer(1, 4, gl.UNSIGNED_BYTE, true, 20, 16);
      // GL's starting state where WebGL's differs: none that the programs rely on.
      sculptGl.state.forEach(function(setting) { gl[setting[0]].apply(gl, setting[1]); });
      sculptGl.gl = gl;
    },

    // Keeps a setting, replacing an earlier one of the same kind (each capability its own), and
    // makes it on the context if there is one.
    set: function(name, args) {
      var key = name === 'enable' ? name + args[0] : name;
      sculptGl.state = sculptGl.state.filter(function(s) { return s[2] !== key; });
      sculptGl.state.push([name, args, key]);
      if (sculptGl.gl) sculptGl.gl[name].apply(sculptGl.gl, args);
    },
  },

  sculptWebGlDraw__deps: ['$sculptGl'],
  sculptWebGlDraw: function(vertices, vertexCount, indices, indexCount, ranges, rangeCount) {
    var gl = sculptGl.gl;
    if (!gl) return;
    gl.bufferData(gl.ARRAY_BUFFER, HEAPU8.subarray(vertices, vertices + vertexCount * 20),
                  gl.STREAM_DRAW);
    gl.bufferData(gl.ELEMENT_ARRAY_BUFFER,
                  HEAPU32.subarray(indices >> 2, (indices >> 2) + indexCount), gl.STREAM_DRAW);
    for (var r = 0; r < rangeCount; ++r) {
      var at = (ranges >> 2) + r * 3;
      gl.drawElements(HEAPU32[at], HEAPU32[at + 2], gl.UNSIGNED_INT, HEAPU32[at + 1] * 4);
    }
  },
  sculptWebGlEnable__deps: ['$sculptGl'],
  sculptWebGlEnable: function(capability) {
    sculptGl.set('enable', [capability]);
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
