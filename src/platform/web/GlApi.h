#pragma once

// The browser's OpenGL: OpenGL ES 3.0, which is WebGL2. The desktop twin of this file says
// what each item is for.

#include <GLES3/gl3.h>
#include <SDL.h>

// GLSL ES has no default float precision in fragment shaders; the device's arithmetic (fog,
// lighting) wants full precision in both stages.
inline constexpr const char* kGlslVersionLine =
    "#version 300 es\nprecision highp float;\nprecision highp int;\n";

// WebGL2 takes a flat-shaded triangle's colour from its last vertex and cannot be told
// otherwise here; the device turns each triangle's vertices round by one instead (same
// winding, Direct3D's colour vertex last).
inline constexpr bool kGlFlatColourFromLastVertex = true;

inline void GlUseFirstVertexForFlatShading() {}

inline void GlClearDepthToFar() {
    glClearDepthf(1.0f);
}

inline void GlRequestContextVersion() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
}

// A context made at all is WebGL2: SDL asks the browser for nothing older.
inline bool GlContextIsRecentEnough() {
    return true;
}

inline constexpr const char* kGlTooOldMessage = "the browser's WebGL is older than WebGL2";
inline constexpr const char* kGlNoHardwareContextMessage = "the browser offers no WebGL2 context";
inline constexpr const char* kGlNoSoftwareContextMessage = "the browser offers no WebGL2 context";
