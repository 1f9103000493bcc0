// The browser's side of the immediate-mode layer: one WebGL context with shaders for the frame's
// transformed, coloured vertices and for its smoothed segments' quads, made by the layer or here
// from the segments' ends, and the few pieces of state the programs set, kept here too so that a
// context the browser loses and gives back draws as before.
mergeInto(LibraryManager.library, {
  $sculptGl: {
    gl: null,            // null without WebGL, and while the context is lost
    context: null,       // the canvas's context, lost or not
    plain: null,         // {program, buffers, current}: the vertices as they are
    smooth: null,        // {program, buffers, current, reachAt}: the smoothed segments' quads
    segments: null,      // {program, textures, corners, ...}: segments widened from their ends
    endsCapacity: 0,     // vertices the ends' textures can hold; 0 where there are none
    kRowVertices: 1024,  // webgl.h's kSculptRowVertices
    viewport: [0, 0, 0, 0],
    indices: null,       // {buffers, current}: the plain vertices' indices
    quads: null,         // {buffer, count}: the quads' indices, the same every frame
    kTurns: 3,           // buffers of each kind, taken in turn by the frames
    kPieceIndices: 6144, // indices a draw hands the GPU before a flush: 2,048 triangles
    inPieces: false,     // whether frames go in pieces: where the context draws on the processor
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

    // Mesa's coverage of a smoothed line, from a fragment's distances across and along it: see
    // build.
    smoothFragment:
        '#ifdef GL_FRAGMENT_PRECISION_HIGH\nprecision highp float;\n#else\n' +
        'precision mediump float;\n#endif\n' +
        'uniform float reach; varying vec4 v; varying vec3 s;' +
        'void main() {' +
        '  float c = clamp(reach - abs(s.x), 0.0, 1.0) * clamp(0.5 + min(s.y, s.z), 0.0, 1.0);' +
        '  if (c <= 0.0) discard;' +
        '  gl_FragColor = vec4(v.rgb, v.a * c); }',

    // The same quads made on the GPU, where its vertex shader reads float textures: a frame then
    // sends each vertex once, its position to one texture and its colour to another, and each
    // corner, kept from frame to frame, names its segment's two vertices and which corner it is
    // (0 to 3: the first end's two sides, then the second's, as the layer orders them). As the
    // layer's C++ does, the segment is cut to the part in front of the near plane first (colour
    // rounded to bytes, as there), then widened in window coordinates by `reach` each side and
    // half a pixel past each end, and the corners come divided by w. The positions' sampler is
    // highp: a vertex shader's samplers are lowp unless told, and some renderers hold them to it,
    // moving every corner.
    buildSegments: function(gl, link) {
      sculptGl.segments = null;
      sculptGl.endsCapacity = 0;
      if (!gl.getExtension('OES_texture_float') ||
          gl.getParameter(gl.MAX_VERTEX_TEXTURE_IMAGE_UNITS) < 2) {
        return;
      }
      var segments = link(
        'uniform highp sampler2D positions; uniform sampler2D colours; uniform float rows;' +
        'uniform vec4 viewport; uniform float reach;' +
        'attribute vec3 corner; varying vec4 v; varying vec3 s;' +
        'vec2 at(float i) { float row = floor(i / ' + sculptGl.kRowVertices + '.0);' +
        '  return vec2((i - row * ' + sculptGl.kRowVertices + '.0 + 0.5) / ' +
        sculptGl.kRowVertices + '.0, (row + 0.5) / rows); }' +
        'vec4 bytes(vec4 c) { return floor(c * 255.0 + 0.5) / 255.0; }' +
        'void main() {' +
        '  vec4 a = texture2D(positions, at(corner.x));' +
        '  vec4 b = texture2D(positions, at(corner.y));' +
        '  vec4 ca = texture2D(colours, at(corner.x));' +
        '  vec4 cb = texture2D(colours, at(corner.y));' +
        '  float inA = a.z + a.w; float inB = b.z + b.w;' +
        '  vec2 size = 0.5 * viewport.zw;' +
        '  if (!(inA >= 0.0) && !(inB >= 0.0) || !(size.x > 0.0) || !(size.y > 0.0)) {' +
        '    gl_Position = vec4(0.0, 0.0, 2.0, 1.0); v = vec4(0.0); s = vec3(0.0); return; }' +
        '  if (!(inA >= 0.0)) { float t = inA / (inA - inB);' +
        '    a = a + t * (b - a); ca = bytes(ca + t * (cb - ca)); }' +
        '  if (!(inB >= 0.0)) { float t = inB / (inB - inA);' +
        '    b = b + t * (a - b); cb = bytes(cb + t * (ca - cb)); }' +
        '  vec2 sa = (a.xy / a.w + 1.0) * size + viewport.xy;' +
        '  vec2 sb = (b.xy / b.w + 1.0) * size + viewport.xy;' +
        '  float len = length(sb - sa);' +
        '  bool finite = len > 0.0 && len <= 3.4e38;' +
        '  vec2 along = finite ? (sb - sa) / len : vec2(1.0, 0.0);' +
        '  float end = finite ? len : 0.0;' +
        '  vec2 across = vec2(-along.y, along.x);' +
        '  bool second = corner.z > 1.5;' +
        '  vec4 e = second ? b : a;' +
        '  float side = (mod(corner.z, 2.0) > 0.5 ? 1.0 : -1.0) * reach;' +
        '  float fromFirst = second ? end + 0.5 : -0.5;' +
        '  vec2 offset = (second ? 0.5 : -0.5) * along + side * across;' +
        '  gl_Position = vec4(e.xy / e.w + offset / size, e.z / e.w, 1.0);' +
        '  v = second ? cb : ca; s = vec3(side, fromFirst, end - fromFirst); }',
        sculptGl.smoothFragment, ['corner']);
      if (!gl.getProgramParameter(segments.program, gl.LINK_STATUS)) return;
      ['reach', 'viewport', 'rows', 'positions', 'colours'].forEach(function(name) {
        segments[name + 'At'] = gl.getUniformLocation(segments.program, name);
      });
      gl.useProgram(segments.program);
      gl.uniform1i(segments.positionsAt, 0);
      gl.uniform1i(segments.coloursAt, 1);
      // Textures of each kind taken in turn, as the buffers are, each with the rows it holds.
      segments.textures = [];
      for (var i = 0; i < sculptGl.kTurns; ++i) {
        segments.textures.push({positions: sculptGl.texture(gl), colours: sculptGl.texture(gl),
                                rows: 0});
      }
      segments.current = null;
      segments.corners = gl.createBuffer();
      segments.cornerCount = -1;  // none sent yet
      sculptGl.segments = segments;
      segments.maxRows = gl.getParameter(gl.MAX_TEXTURE_SIZE);
      sculptGl.endsCapacity = sculptGl.kRowVertices * segments.maxRows;
    },

    // A texture read texel for texel.
    texture: function(gl) {
      var texture = gl.createTexture();
      gl.bindTexture(gl.TEXTURE_2D, texture);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, gl.NEAREST);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MAG_FILTER, gl.NEAREST);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_S, gl.CLAMP_TO_EDGE);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_T, gl.CLAMP_TO_EDGE);
      return texture;
    },

    // Puts the frame's segment ends in this turn's textures, and their corners, when they are not
    // the last frame's, in the corners' buffer.
    uploadEnds: function(gl, ends) {
      var segments = sculptGl.segments, at = ends >> 2;
      var rows = HEAPU32[at + 2], count = HEAPU32[at + 4], width = sculptGl.kRowVertices;
      var texels = rows * width * 4, positions = HEAPU32[at] >> 2, colours = HEAPU32[at + 1];
      var t = segments.textures[sculptGl.turn];
      var room = Math.min(Math.ceil(rows * 1.25), segments.maxRows);  // for the frames to grow
      var planes = [[t.positions, gl.FLOAT, HEAPF32.subarray(positions, positions + texels)],
                    [t.colours, gl.UNSIGNED_BYTE, HEAPU8.subarray(colours, colours + texels)]];
      planes.forEach(function(plane) {
        gl.bindTexture(gl.TEXTURE_2D, plane[0]);
        if (t.rows < rows) {
          gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGBA, width, room, 0, gl.RGBA, plane[1], null);
        }
        gl.texSubImage2D(gl.TEXTURE_2D, 0, 0, 0, width, rows, gl.RGBA, plane[1], plane[2]);
      });
      if (t.rows < rows) t.rows = room;
      segments.current = t;
      if (!HEAPU32[at + 5] && segments.cornerCount === count) return;
      var pairs = HEAPU32.subarray(HEAPU32[at + 3] >> 2, (HEAPU32[at + 3] >> 2) + count * 2);
      var corners = new Float32Array(count * 12);
      for (var n = 0; n < count; ++n) {
        var a = pairs[2 * n], b = pairs[2 * n + 1];
        for (var c = 0, k = n * 12; c < 4; ++c, k += 3) {
          corners[k] = a;
          corners[k + 1] = b;
          corners[k + 2] = c;
        }
      }
      gl.bindBuffer(gl.ARRAY_BUFFER, segments.corners);
      gl.bufferData(gl.ARRAY_BUFFER, corners, gl.STATIC_DRAW);
      segments.cornerCount = count;
      sculptGl.growQuads(gl, count);
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
        sculptGl.smoothFragment, ['position', 'colour', 'span']);
      sculptGl.smooth.reachAt = gl.getUniformLocation(sculptGl.smooth.program, 'reach');
      sculptGl.buildSegments(gl, link);
      sculptGl.inPieces = sculptGl.drawsOnProcessor(gl);
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

    // Whether the context draws on the processor (Mesa's llvmpipe, lavapipe or softpipe, or
    // SwiftShader) behind a browser whose flush only hands the work on, as far as it names its
    // renderer. Chromium and WebKit name it, if at all, only through the extension, their RENDERER
    // being WebKit's generic name. Firefox names it in RENDERER, but there each flush held the
    // page so long that full screen, asked for by a tap, failed to come or go in 2 of 4 runs
    // (none of 4 with the frame whole), and it warns on the console at the extension: not asked.
    drawsOnProcessor: function(gl) {
      if (String(gl.getParameter(gl.RENDERER)) !== 'WebKit WebGL') return false;
      var info = gl.getExtension('WEBGL_debug_renderer_info');
      var renderer = info ? String(gl.getParameter(info.UNMASKED_RENDERER_WEBGL)) : '';
      return /llvmpipe|lavapipe|softpipe|swiftshader/i.test(renderer);
    },

    // Draws `count` indices from `first` as triangles or lines. On a renderer that draws on the
    // processor it goes a piece at a time, each flushed as soon as it is drawn: llvmpipe bins a
    // piece's triangles while its threads fill the last piece's; given the frame whole it would
    // bin it all first, and in the browser's GPU process take that much fresh memory for it and
    // give it back every frame. A GPU of its own gains nothing by it, and a phone's tiling GPU
    // would store and reload the whole picture at each flush. A piece is a whole number of
    // triangles and of lines.
    drawInPieces: function(gl, mode, first, count) {
      var most = sculptGl.inPieces ? sculptGl.kPieceIndices : count;
      for (var done = 0; done < count; done += most) {
        gl.drawElements(mode, Math.min(most, count - done), gl.UNSIGNED_INT, (first + done) * 4);
        if (sculptGl.inPieces) gl.flush();
      }
    },

    // Draws from here on with the plain shader, vertices and indices, or the smoothed segments'
    // quads (`kind` 1), or those made from the segments' ends (2).
    use: function(gl, kind) {
      if (kind === 2) {
        var segments = sculptGl.segments;
        gl.useProgram(segments.program);
        gl.activeTexture(gl.TEXTURE1);
        gl.bindTexture(gl.TEXTURE_2D, segments.current.colours);
        gl.activeTexture(gl.TEXTURE0);
        gl.bindTexture(gl.TEXTURE_2D, segments.current.positions);
        gl.bindBuffer(gl.ARRAY_BUFFER, segments.corners);
        gl.bindBuffer(gl.ELEMENT_ARRAY_BUFFER, sculptGl.quads.buffer);
        gl.vertexAttribPointer(0, 3, gl.FLOAT, false, 12, 0);
        gl.disableVertexAttribArray(1);
        gl.disableVertexAttribArray(2);
        gl.uniform1f(segments.reachAt, sculptGl.reach);
        gl.uniform4fv(segments.viewportAt, sculptGl.viewport);
        gl.uniform1f(segments.rowsAt, segments.current.rows);
        return;
      }
      gl.enableVertexAttribArray(1);
      var smooth = kind === 1;
      kind = smooth ? sculptGl.smooth : sculptGl.plain;
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
                            indexCount, indicesChanged, ends, ranges, rangeCount) {
    var gl = sculptGl.gl;
    if (!gl) return;
    sculptGl.turn = (sculptGl.turn + 1) % sculptGl.kTurns;
    if (lineVertexCount) {
      sculptGl.growQuads(gl, lineVertexCount / 4);
      sculptGl.upload(gl, gl.ARRAY_BUFFER, sculptGl.smooth,
                      HEAPU8.subarray(lineVertices, lineVertices + lineVertexCount * 28));
    }
    // The plain vertices go up as such only for a run that draws them.
    var plain = false;
    for (var p = 0; p < rangeCount; ++p) plain = plain || HEAPU32[(ranges >> 2) + p * 4 + 3] === 0;
    if (ends && sculptGl.segments) sculptGl.uploadEnds(gl, ends);
    if (vertexCount && plain) {
      sculptGl.upload(gl, gl.ARRAY_BUFFER, sculptGl.plain,
                      HEAPU8.subarray(vertices, vertices + vertexCount * 20));
    }
    // A new context has none of the indices that the frames before sent.
    if (indexCount && (indicesChanged || !sculptGl.indices.current)) {
      sculptGl.upload(gl, gl.ELEMENT_ARRAY_BUFFER, sculptGl.indices,
                      HEAPU32.subarray(indices >> 2, (indices >> 2) + indexCount));
    }
    var kind = null;
    for (var r = 0; r < rangeCount; ++r) {
      var at = (ranges >> 2) + r * 4;
      // Segments made from their ends by a context that has since gone and come back without
      // float textures: not drawn in this one frame, the next makes its quads in the layer.
      if (HEAPU32[at + 3] === 2 && !(ends && sculptGl.segments)) continue;
      if (HEAPU32[at + 3] !== kind) sculptGl.use(gl, kind = HEAPU32[at + 3]);
      sculptGl.drawInPieces(gl, HEAPU32[at], HEAPU32[at + 1], HEAPU32[at + 2]);
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
    sculptGl.viewport = [x, y, width, height];
    sculptGl.set('viewport', [x, y, width, height]);
  },
  sculptWebGlEndsCapacity__deps: ['$sculptGl'],
  sculptWebGlEndsCapacity: function() {
    return sculptGl.endsCapacity;
  },
});
