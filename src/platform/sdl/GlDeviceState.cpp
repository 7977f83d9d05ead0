#include "platform/sdl/GlDeviceLocal.h"

#include <algorithm>
#include <cmath>

// How the device turns D3D's render states, transforms, lights and material into its GL state
// and the shaders' uniforms.

namespace {

// A matrix's sixteen elements in row-major order, as glUniformMatrix4fv takes them.
struct TRowMajor {
    GLfloat Elements[16];
};
TRowMajor RowMajor(const D3DMATRIX& matrix) {
    TRowMajor out{};
    for (int i = 0; i < 16; ++i) {
        out.Elements[i] = matrix.*kD3DMatrixElements[i];
    }
    return out;
}

D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
    D3DMATRIX r{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            r.m(i, j) = a.m(i, 0) * b.m(0, j) + a.m(i, 1) * b.m(1, j) + a.m(i, 2) * b.m(2, j) +
                        a.m(i, 3) * b.m(3, j);
        }
    }
    return r;
}

// The mapping the viewport's clip volume adds after the projection, as a row-vector matrix:
// the window (ClipX, ClipY)-(ClipX + ClipWidth, ClipY - ClipHeight) onto -1..1, MinZ..MaxZ onto
// 0..1.
D3DMATRIX ClipVolumeMatrix(const D3DVIEWPORT2& vp) {
    D3DMATRIX c{};
    const float width = vp.dvClipWidth != 0.0f ? vp.dvClipWidth : 2.0f;
    const float height = vp.dvClipHeight != 0.0f ? vp.dvClipHeight : 2.0f;
    const float depth = vp.dvMaxZ != vp.dvMinZ ? vp.dvMaxZ - vp.dvMinZ : 1.0f;
    c._11 = 2.0f / width;
    c._22 = 2.0f / height;
    c._33 = 1.0f / depth;
    c._41 = -2.0f * vp.dvClipX / width - 1.0f;
    c._42 = -2.0f * vp.dvClipY / height + 1.0f;
    c._43 = -vp.dvMinZ / depth;
    c._44 = 1.0f;
    return c;
}

// Normals go through the inverse transpose of the upper 3x3 (row vectors: n' = n * inv(M)^T).
// The result is row-major, ready for an upload with transpose = GL_TRUE.
void NormalMatrix(const D3DMATRIX& m, GLfloat out[9]) {
    const float a = m._11, b = m._12, c = m._13;
    const float d = m._21, e = m._22, f = m._23;
    const float g = m._31, h = m._32, i = m._33;
    const float co00 = e * i - f * h, co01 = -(d * i - f * g), co02 = d * h - e * g;
    const float co10 = -(b * i - c * h), co11 = a * i - c * g, co12 = -(a * h - b * g);
    const float co20 = b * f - c * e, co21 = -(a * f - c * d), co22 = a * e - b * d;
    const float det = a * co00 + b * co01 + c * co02;
    const float scale = std::max({std::abs(a), std::abs(b), std::abs(c), std::abs(d), std::abs(e),
                                  std::abs(f), std::abs(g), std::abs(h), std::abs(i)});
    if (std::abs(det) <= 1e-6f * scale * scale * scale) {
        // A flattening matrix has no inverse; its own 3x3 still gives the normals a direction,
        // which the shader renormalises.
        const float own[9] = {a, b, c, d, e, f, g, h, i};
        std::copy(own, own + 9, out);
        return;
    }
    // inv(M) = adj(M) / det with adj = transpose(cofactors); its transpose is cofactors / det.
    const float r[9] = {co00, co01, co02, co10, co11, co12, co20, co21, co22};
    for (int k = 0; k < 9; ++k) {
        out[k] = r[k] / det;
    }
}

void TransformPoint(const D3DVECTOR& p, const D3DMATRIX& m, GLfloat out[3]) {
    out[0] = p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41;
    out[1] = p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42;
    out[2] = p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43;
}

// Directions are normalised by the pipeline; a zero direction lights nothing.
void TransformDirection(const D3DVECTOR& d, const D3DMATRIX& m, GLfloat out[3]) {
    const float x = d.x * m._11 + d.y * m._21 + d.z * m._31;
    const float y = d.x * m._12 + d.y * m._22 + d.z * m._32;
    const float z = d.x * m._13 + d.y * m._23 + d.z * m._33;
    const float length = std::sqrt(x * x + y * y + z * z);
    const float s = length > 0.0f ? 1.0f / length : 0.0f;
    out[0] = x * s;
    out[1] = y * s;
    out[2] = z * s;
}

void ColorOf(uint32_t color, GLfloat out[3]) {
    out[0] = static_cast<float>((color >> 16) & 0xFF) / 255.0f;
    out[1] = static_cast<float>((color >> 8) & 0xFF) / 255.0f;
    out[2] = static_cast<float>(color & 0xFF) / 255.0f;
}

GLenum DepthFunction(uint32_t func) {
    switch (func) {
    case D3DCMP_NEVER:
        return GL_NEVER;
    case D3DCMP_LESS:
        return GL_LESS;
    case D3DCMP_EQUAL:
        return GL_EQUAL;
    case D3DCMP_GREATER:
        return GL_GREATER;
    case D3DCMP_NOTEQUAL:
        return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL:
        return GL_GEQUAL;
    case D3DCMP_ALWAYS:
        return GL_ALWAYS;
    default:
        return GL_LEQUAL;
    }
}

} // namespace

void TGlDevice::BuildLights(TGlLightBlock& block, const D3DMATRIX& view) const {
    for (const TDeviceLight* light : GetCurrentViewport()->GetLights()) {
        const D3DLIGHT2& d = light->GetLight();
        if ((d.dwFlags & D3DLIGHT_ACTIVE) == 0 || block.Count == kGlMaxLights) {
            continue;
        }
        if (d.dltType != D3DLIGHT_POINT && d.dltType != D3DLIGHT_SPOT &&
            d.dltType != D3DLIGHT_DIRECTIONAL) {
            continue;
        }
        const int i = block.Count++;
        block.Type[i] = d.dltType == D3DLIGHT_POINT  ? kGlLightPoint
                        : d.dltType == D3DLIGHT_SPOT ? kGlLightSpot
                                                     : kGlLightDirectional;
        TransformPoint(d.dvPosition, view, &block.Position[3 * i]);
        TransformDirection(d.dvDirection, view, &block.Direction[3 * i]);
        const float specularScale = (d.dwFlags & D3DLIGHT_NO_SPECULAR) ? 0.0f : 1.0f;
        const float color[3] = {d.dcvColor.r, d.dcvColor.g, d.dcvColor.b};
        for (int k = 0; k < 3; ++k) {
            block.Color[3 * i + k] = color[k];
            block.Specular[3 * i + k] = color[k] * specularScale;
        }
        block.Range[i] = d.dvRange;
        block.Attenuation[3 * i + 0] = d.dvAttenuation0;
        block.Attenuation[3 * i + 1] = d.dvAttenuation1;
        block.Attenuation[3 * i + 2] = d.dvAttenuation2;
        if (d.dltType == D3DLIGHT_SPOT) {
            block.Spot[3 * i + 0] = d.dvFalloff;
            block.Spot[3 * i + 1] = std::cos(d.dvTheta * 0.5f);
            block.Spot[3 * i + 2] = std::cos(d.dvPhi * 0.5f);
        }
    }
}

void TGlDevice::BuildState(TGlDrawState& s) const {
    s = TGlDrawState{};
    s.DepthTest = GetRenderState(D3DRENDERSTATE_ZENABLE) != 0;
    s.DepthWrite = GetRenderState(D3DRENDERSTATE_ZWRITEENABLE) != 0;
    s.DepthFunc = DepthFunction(GetRenderState(D3DRENDERSTATE_ZFUNC));
    s.Cull = GetRenderState(D3DRENDERSTATE_CULLMODE);
    s.Flat = GetRenderState(D3DRENDERSTATE_SHADEMODE) == D3DSHADE_FLAT;
    const D3DVIEWPORT2& vp = GetCurrentViewport()->GetViewport2();
    s.Viewport = LogicalToWindow(Screen, vp.dwX, vp.dwY, static_cast<double>(vp.dwX) + vp.dwWidth,
                                 static_cast<double>(vp.dwY) + vp.dwHeight);
    const D3DMATRIX& view = GetTransform(D3DTRANSFORMSTATE_VIEW);
    s.WorldView = Multiply(GetTransform(D3DTRANSFORMSTATE_WORLD), view);
    s.ProjClip = Multiply(GetTransform(D3DTRANSFORMSTATE_PROJECTION), ClipVolumeMatrix(vp));
    // With no material selected everything lit comes out black, as on a device without one.
    if (const TDeviceMaterial* current = GetCurrentMaterial()) {
        s.Material = current->GetMaterial();
    }
    BuildLights(s.Lights, view);
    s.Ambient = GetLightState(D3DLIGHTSTATE_AMBIENT);
    s.SpecularEnable = GetRenderState(D3DRENDERSTATE_SPECULARENABLE) != 0;
    // Vertex fog: the render state switches fog on, the light state's linear mode computes it.
    s.FogEnable = GetRenderState(D3DRENDERSTATE_FOGENABLE) != 0 &&
                  GetLightState(D3DLIGHTSTATE_FOGMODE) == D3DFOG_LINEAR;
    if (s.FogEnable) {
        s.FogStart = D3DStateToFloat(GetLightState(D3DLIGHTSTATE_FOGSTART));
        s.FogEnd = D3DStateToFloat(GetLightState(D3DLIGHTSTATE_FOGEND));
        s.FogColor = GetRenderState(D3DRENDERSTATE_FOGCOLOR);
    }
}

void TGlDevice::ApplyRaster(const TGlDrawState& wanted) {
    const bool all = Screen.RasterDirty;
    if (all || wanted.DepthTest != Raster.DepthTest) {
        (wanted.DepthTest ? glEnable : glDisable)(GL_DEPTH_TEST);
    }
    if (all || wanted.DepthWrite != Raster.DepthWrite) {
        glDepthMask(wanted.DepthWrite ? GL_TRUE : GL_FALSE);
    }
    if (all || wanted.DepthFunc != Raster.DepthFunc) {
        glDepthFunc(wanted.DepthFunc);
    }
    if (all || wanted.Cull != Raster.Cull) {
        // D3D culls by the winding seen on screen, as GL does in window coordinates:
        // D3DCULL_CCW keeps clockwise triangles.
        if (wanted.Cull == D3DCULL_NONE) {
            glDisable(GL_CULL_FACE);
        } else {
            glEnable(GL_CULL_FACE);
            glCullFace(GL_BACK);
            glFrontFace(wanted.Cull == D3DCULL_CW ? GL_CCW : GL_CW);
        }
    }
    const TGlRect& v = wanted.Viewport;
    const TGlRect& r = Raster.Viewport;
    if (all || v.X != r.X || v.Y != r.Y || v.Width != r.Width || v.Height != r.Height) {
        glViewport(v.X, v.Y, v.Width, v.Height);
    }
    if (all) {
        glDisable(GL_BLEND);
        glDisable(GL_SCISSOR_TEST);
        glBindVertexArray(VertexArray);
        glBindBuffer(GL_ARRAY_BUFFER, VertexBuffer);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, IndexBuffer);
        // Another program (the text) may have been current.
        GouraudValid = false;
        FlatValid = false;
    }
    Raster.DepthTest = wanted.DepthTest;
    Raster.DepthWrite = wanted.DepthWrite;
    Raster.DepthFunc = wanted.DepthFunc;
    Raster.Cull = wanted.Cull;
    Raster.Viewport = wanted.Viewport;
    Screen.RasterDirty = false;
}

void TGlDevice::UploadUniforms(const TGlLightingProgram& program, const TGlDrawState& s,
                               TGlDrawState& up, bool& valid) {
    const TGlLightingUniforms& u = program.Uniforms();
    const auto changed = [&](const auto& now, const auto& before) {
        return !valid || !(now == before);
    };
    if (changed(s.WorldView, up.WorldView)) {
        GLfloat normal[9];
        NormalMatrix(s.WorldView, normal);
        glUniformMatrix4fv(u.WorldView, 1, GL_TRUE, RowMajor(s.WorldView).Elements);
        glUniformMatrix3fv(u.NormalMatrix, 1, GL_TRUE, normal);
    }
    if (changed(s.ProjClip, up.ProjClip)) {
        glUniformMatrix4fv(u.ProjClip, 1, GL_TRUE, RowMajor(s.ProjClip).Elements);
    }
    if (changed(s.Material, up.Material)) {
        const D3DMATERIAL& m = s.Material;
        glUniform4f(u.MatDiffuse, m.diffuse.r, m.diffuse.g, m.diffuse.b, m.diffuse.a);
        glUniform3f(u.MatAmbient, m.ambient.r, m.ambient.g, m.ambient.b);
        glUniform3f(u.MatSpecular, m.specular.r, m.specular.g, m.specular.b);
        glUniform3f(u.MatEmissive, m.emissive.r, m.emissive.g, m.emissive.b);
        glUniform1f(u.MatPower, m.power);
    }
    if (changed(s.Lights, up.Lights)) {
        const TGlLightBlock& b = s.Lights;
        const GLsizei n = std::max<GLint>(b.Count, 1);
        glUniform1i(u.LightCount, b.Count);
        glUniform1iv(u.LightType, n, b.Type);
        glUniform3fv(u.LightPosition, n, b.Position);
        glUniform3fv(u.LightDirection, n, b.Direction);
        glUniform3fv(u.LightColor, n, b.Color);
        glUniform3fv(u.LightSpecular, n, b.Specular);
        glUniform1fv(u.LightRange, n, b.Range);
        glUniform3fv(u.LightAttenuation, n, b.Attenuation);
        glUniform3fv(u.LightSpot, n, b.Spot);
    }
    if (changed(s.Ambient, up.Ambient)) {
        GLfloat c[3];
        ColorOf(s.Ambient, c);
        glUniform3fv(u.Ambient, 1, c);
    }
    if (changed(s.SpecularEnable, up.SpecularEnable)) {
        glUniform1i(u.SpecularEnable, s.SpecularEnable);
    }
    if (!valid || s.FogEnable != up.FogEnable || s.FogStart != up.FogStart ||
        s.FogEnd != up.FogEnd || s.FogColor != up.FogColor) {
        GLfloat c[3];
        ColorOf(s.FogColor, c);
        glUniform1i(u.FogEnable, s.FogEnable);
        glUniform1f(u.FogStart, s.FogStart);
        glUniform1f(u.FogEnd, s.FogEnd);
        glUniform3fv(u.FogColor, 1, c);
    }
    up = s;
    valid = true;
}

void TGlDevice::ApplyState(const TGlDrawState& state) {
    ApplyRaster(state);
    if (state.Flat) {
        glUseProgram(Flat.Id());
        UploadUniforms(Flat, state, FlatUploaded, FlatValid);
    } else {
        glUseProgram(Gouraud.Id());
        UploadUniforms(Gouraud, state, GouraudUploaded, GouraudValid);
    }
}
