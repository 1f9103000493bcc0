// The browser's side of the immediate-mode layer: one WebGL context with one shader that draws the
// frame's batch of transformed, coloured vertices, and the few pieces of state the programs set.
mergeInto(LibraryManager.library, {
  $sculptGl: {
    gl: null,
    vertexBuffer: null,
    indexBuffer: null,

    // No alpha in the drawing buffer: the clear colour's alpha is 0, and the page must not show
    // through. No multisampling, as GLUT gives none unless asked (GLUT_MULTISAMPLE): it would
    // soften the surfaces' edges, which GL leaves sharp, and halves the frame rate on a software
    // renderer. WebGL has no line smoothing, so lines are drawn aliased.
    init: function(canvas) {
      var gl = canvas.getContext('webgl', {alpha: false, depth: true, stencil: false,
                                           antialias: false, preserveDrawingBuffer: false});
      sculptGl.gl = gl;
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
    if (sculptGl.gl) sculptGl.gl.enable(capability);
  },
  sculptWebGlBlendFunc__deps: ['$sculptGl'],
  sculptWebGlBlendFunc: function(source, destination) {
    if (sculptGl.gl) sculptGl.gl.blendFunc(source, destination);
  },
  sculptWebGlDepthFunc__deps: ['$sculptGl'],
  sculptWebGlDepthFunc: function(f) {
    if (sculptGl.gl) sculptGl.gl.depthFunc(f);
  },
  sculptWebGlLineWidth__deps: ['$sculptGl'],
  sculptWebGlLineWidth: function(width) {
    if (sculptGl.gl) sculptGl.gl.lineWidth(width);
  },
  sculptWebGlClearDepth__deps: ['$sculptGl'],
  sculptWebGlClearDepth: function(depth) {
    if (sculptGl.gl) sculptGl.gl.clearDepth(depth);
  },
  sculptWebGlClearColor__deps: ['$sculptGl'],
  sculptWebGlClearColor: function(r, g, b, a) {
    if (sculptGl.gl) sculptGl.gl.clearColor(r, g, b, a);
  },
  sculptWebGlClear__deps: ['$sculptGl'],
  sculptWebGlClear: function(mask) {
    if (sculptGl.gl) sculptGl.gl.clear(mask);
  },
  sculptWebGlViewport__deps: ['$sculptGl'],
  sculptWebGlViewport: function(x, y, width, height) {
    if (sculptGl.gl) sculptGl.gl.viewport(x, y, width, height);
  },
});
