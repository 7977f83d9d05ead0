#pragma once

// The OpenGL the device draws with, and the few places where the desktop's OpenGL 3.3 core and
// the browser's OpenGL ES 3.0 (WebGL2) differ. The build puts this folder or the browser's on
// the include path; every other GL source is the same for both.

#include <SDL.h>
#include <epoxy/gl.h>

// The first line of every shader; the browser's adds its default precisions.
inline constexpr const char* kGlslVersionLine = "#version 330 core\n";

// OpenGL takes a flat-shaded triangle's colour from the vertex glProvokingVertex names; the
// device asks for the first, as Direct3D does, so triangles keep their vertex order.
inline constexpr bool kGlFlatColourFromLastVertex = false;

inline void GlUseFirstVertexForFlatShading() {
    glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
}

inline void GlClearDepthToFar() {
    glClearDepth(1.0);
}

// The version and profile the window's context is made with.
inline void GlRequestContextVersion() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
}

// Whether the current context is the one asked for: desktop OpenGL 3.3 or later.
inline bool GlContextIsRecentEnough() {
    return epoxy_is_desktop_gl() && epoxy_gl_version() >= 33;
}

inline constexpr const char* kGlTooOldMessage = "the OpenGL context is older than version 3.3";
inline constexpr const char* kGlNoHardwareContextMessage =
    "no hardware OpenGL 3.3 context could be created";
inline constexpr const char* kGlNoSoftwareContextMessage =
    "no software OpenGL 3.3 context could be created";
