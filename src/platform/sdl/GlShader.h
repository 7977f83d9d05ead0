#pragma once

#include "GlApi.h"

// The one shader program of the renderer: fixed-function DirectX 5 transform and lighting done
// per vertex (ambient light state, material ambient/diffuse/specular/emissive, directional, point
// and spot lights with range and the legacy attenuation polynomial, renormalised normals, the two
// colours clamped per vertex), linear vertex fog from the projected w, and Gouraud or flat shading.
//
// Matrices are uploaded as the D3D row-major data with transpose = GL_TRUE and the shader works
// with row vectors, so `position * uWorldView * uProjClip` is literally p * W * V * P * Clip.

inline constexpr int kGlMaxLights = 8;

// Attribute locations of the D3DVERTEX fields.
inline constexpr GLuint kGlAttribPosition = 0;
inline constexpr GLuint kGlAttribNormal = 1;

struct TGlLightingUniforms {
    GLint WorldView = -1;
    GLint ProjClip = -1;
    GLint NormalMatrix = -1;
    GLint LightCount = -1;
    GLint LightType = -1;
    GLint LightPosition = -1;
    GLint LightDirection = -1;
    GLint LightColor = -1;
    GLint LightSpecular = -1;
    GLint LightRange = -1;
    GLint LightAttenuation = -1;
    GLint LightSpot = -1;
    GLint Ambient = -1;
    GLint MatDiffuse = -1;
    GLint MatAmbient = -1;
    GLint MatSpecular = -1;
    GLint MatEmissive = -1;
    GLint MatPower = -1;
    GLint SpecularEnable = -1;
    GLint FogEnable = -1;
    GLint FogStart = -1;
    GLint FogEnd = -1;
    GLint FogColor = -1;
};

// Light kinds as the shader sees them.
inline constexpr GLint kGlLightPoint = 1;
inline constexpr GLint kGlLightSpot = 2;
inline constexpr GLint kGlLightDirectional = 3;

// Owns one linked program; non-copyable.
class TGlLightingProgram {
  public:
    TGlLightingProgram() = default;
    ~TGlLightingProgram();
    TGlLightingProgram(const TGlLightingProgram&) = delete;
    TGlLightingProgram& operator=(const TGlLightingProgram&) = delete;

    // Compiles and links; flat = true takes every colour from a triangle's first vertex.
    // On failure writes the compiler's log to standard error and returns false.
    bool Build(bool flat);
    void Release();
    GLuint Id() const { return Program; }
    const TGlLightingUniforms& Uniforms() const { return Locations; }

  private:
    GLuint Program = 0;
    TGlLightingUniforms Locations;
};

// A small program for screen-space textured quads (the text); alpha from the texture's red
// channel, colour from a uniform. Positions are window pixels with y down.
class TGlTextProgram {
  public:
    TGlTextProgram() = default;
    ~TGlTextProgram();
    TGlTextProgram(const TGlTextProgram&) = delete;
    TGlTextProgram& operator=(const TGlTextProgram&) = delete;

    bool Build();
    void Release();
    GLuint Id() const { return Program; }
    GLint WindowSize() const { return WindowSizeLocation; }
    GLint Rect() const { return RectLocation; }
    GLint Color() const { return ColorLocation; }
    GLint Sampler() const { return SamplerLocation; }

  private:
    GLuint Program = 0;
    GLint WindowSizeLocation = -1;
    GLint RectLocation = -1;
    GLint ColorLocation = -1;
    GLint SamplerLocation = -1;
};
