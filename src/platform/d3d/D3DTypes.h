#pragma once

#include <cstdint>

// The records and constants of the DirectX 5 Immediate Mode interface, defined here with the
// names, member order, sizes and numeric values of the originals, so that the scene code reads
// like code written against Direct3D and every record can be handed to a device as it stands.
// Sizes in comments are the dwSize values the program passes.

using D3DVALUE = float;
using D3DCOLOR = uint32_t; // 0xAARRGGBB
using D3DMATERIALHANDLE = uint32_t;
using D3DTEXTUREHANDLE = uint32_t;

struct D3DCOLORVALUE {
    D3DVALUE r, g, b, a;
    bool operator==(const D3DCOLORVALUE&) const = default;
};

struct D3DVECTOR {
    D3DVALUE x, y, z;
};

// An untransformed, unlit vertex (D3DVT_VERTEX): position, normal, texture coordinates.
struct D3DVERTEX {
    D3DVALUE x, y, z;
    D3DVALUE nx, ny, nz;
    D3DVALUE tu, tv;
};

// 4x4 matrix, row-major, used with row vectors: v' = v * M, translation in _41, _42, _43.
// m(r, c) is _(r+1)(c+1), r and c 0..3.
struct D3DMATRIX {
    D3DVALUE _11, _12, _13, _14;
    D3DVALUE _21, _22, _23, _24;
    D3DVALUE _31, _32, _33, _34;
    D3DVALUE _41, _42, _43, _44;

    D3DVALUE& m(int r, int c);
    D3DVALUE m(int r, int c) const;
    bool operator==(const D3DMATRIX&) const = default;
};

// The elements of a D3DMATRIX in row-major order, for m(r, c).
inline constexpr D3DVALUE D3DMATRIX::*kD3DMatrixElements[16] = {
    &D3DMATRIX::_11, &D3DMATRIX::_12, &D3DMATRIX::_13, &D3DMATRIX::_14,
    &D3DMATRIX::_21, &D3DMATRIX::_22, &D3DMATRIX::_23, &D3DMATRIX::_24,
    &D3DMATRIX::_31, &D3DMATRIX::_32, &D3DMATRIX::_33, &D3DMATRIX::_34,
    &D3DMATRIX::_41, &D3DMATRIX::_42, &D3DMATRIX::_43, &D3DMATRIX::_44};

inline D3DVALUE& D3DMATRIX::m(int r, int c) {
    return this->*kD3DMatrixElements[r * 4 + c];
}
inline D3DVALUE D3DMATRIX::m(int r, int c) const {
    return this->*kD3DMatrixElements[r * 4 + c];
}

// 80 bytes.
struct D3DMATERIAL {
    uint32_t dwSize;
    D3DCOLORVALUE diffuse;
    D3DCOLORVALUE ambient;
    D3DCOLORVALUE specular;
    D3DCOLORVALUE emissive;
    D3DVALUE power;
    D3DTEXTUREHANDLE hTexture;
    uint32_t dwRampSize;
    bool operator==(const D3DMATERIAL&) const = default;
};

enum D3DLIGHTTYPE : uint32_t {
    D3DLIGHT_POINT = 1,
    D3DLIGHT_SPOT = 2,
    D3DLIGHT_DIRECTIONAL = 3,
};

inline constexpr uint32_t D3DLIGHT_ACTIVE = 0x00000001;
inline constexpr uint32_t D3DLIGHT_NO_SPECULAR = 0x00000002;

// 80 bytes. dvDirection is the direction the light travels; attenuation of a point light is
// a0 + a1*d + a2*d^2 with d = (dvRange - distance) / dvRange, and no light beyond dvRange.
struct D3DLIGHT2 {
    uint32_t dwSize;
    D3DLIGHTTYPE dltType;
    D3DCOLORVALUE dcvColor;
    D3DVECTOR dvPosition;
    D3DVECTOR dvDirection;
    D3DVALUE dvRange;
    D3DVALUE dvFalloff;
    D3DVALUE dvAttenuation0;
    D3DVALUE dvAttenuation1;
    D3DVALUE dvAttenuation2;
    D3DVALUE dvTheta;
    D3DVALUE dvPhi;
    uint32_t dwFlags;
};

// 44 bytes. The clip volume (dvClipX, dvClipY) is the top-left corner of the visible window in
// post-projection coordinates (y up), dvClipWidth/dvClipHeight its size.
struct D3DVIEWPORT2 {
    uint32_t dwSize;
    uint32_t dwX;
    uint32_t dwY;
    uint32_t dwWidth;
    uint32_t dwHeight;
    D3DVALUE dvClipX;
    D3DVALUE dvClipY;
    D3DVALUE dvClipWidth;
    D3DVALUE dvClipHeight;
    D3DVALUE dvMinZ;
    D3DVALUE dvMaxZ;
};

struct D3DRECT {
    int32_t x1, y1, x2, y2;
};

enum D3DPRIMITIVETYPE : uint32_t {
    D3DPT_POINTLIST = 1,
    D3DPT_LINELIST = 2,
    D3DPT_LINESTRIP = 3,
    D3DPT_TRIANGLELIST = 4,
    D3DPT_TRIANGLESTRIP = 5,
    D3DPT_TRIANGLEFAN = 6,
};

enum D3DVERTEXTYPE : uint32_t {
    D3DVT_VERTEX = 1,
    D3DVT_LVERTEX = 2,
    D3DVT_TLVERTEX = 3,
};

enum D3DTRANSFORMSTATETYPE : uint32_t {
    D3DTRANSFORMSTATE_WORLD = 1,
    D3DTRANSFORMSTATE_VIEW = 2,
    D3DTRANSFORMSTATE_PROJECTION = 3,
};

enum D3DLIGHTSTATETYPE : uint32_t {
    D3DLIGHTSTATE_MATERIAL = 1,
    D3DLIGHTSTATE_AMBIENT = 2,
    D3DLIGHTSTATE_COLORMODEL = 3,
    D3DLIGHTSTATE_FOGMODE = 4,
    D3DLIGHTSTATE_FOGSTART = 5,
    D3DLIGHTSTATE_FOGEND = 6,
    D3DLIGHTSTATE_FOGDENSITY = 7,
};

enum D3DRENDERSTATETYPE : uint32_t {
    D3DRENDERSTATE_TEXTUREHANDLE = 1,
    D3DRENDERSTATE_ANTIALIAS = 2,
    D3DRENDERSTATE_TEXTUREADDRESS = 3,
    D3DRENDERSTATE_TEXTUREPERSPECTIVE = 4,
    D3DRENDERSTATE_WRAPU = 5,
    D3DRENDERSTATE_WRAPV = 6,
    D3DRENDERSTATE_ZENABLE = 7,
    D3DRENDERSTATE_FILLMODE = 8,
    D3DRENDERSTATE_SHADEMODE = 9,
    D3DRENDERSTATE_LINEPATTERN = 10,
    D3DRENDERSTATE_MONOENABLE = 11,
    D3DRENDERSTATE_ROP2 = 12,
    D3DRENDERSTATE_PLANEMASK = 13,
    D3DRENDERSTATE_ZWRITEENABLE = 14,
    D3DRENDERSTATE_ALPHATESTENABLE = 15,
    D3DRENDERSTATE_LASTPIXEL = 16,
    D3DRENDERSTATE_TEXTUREMAG = 17,
    D3DRENDERSTATE_TEXTUREMIN = 18,
    D3DRENDERSTATE_SRCBLEND = 19,
    D3DRENDERSTATE_DESTBLEND = 20,
    D3DRENDERSTATE_TEXTUREMAPBLEND = 21,
    D3DRENDERSTATE_CULLMODE = 22,
    D3DRENDERSTATE_ZFUNC = 23,
    D3DRENDERSTATE_ALPHAREF = 24,
    D3DRENDERSTATE_ALPHAFUNC = 25,
    D3DRENDERSTATE_DITHERENABLE = 26,
    D3DRENDERSTATE_ALPHABLENDENABLE = 27,
    D3DRENDERSTATE_FOGENABLE = 28,
    D3DRENDERSTATE_SPECULARENABLE = 29,
    D3DRENDERSTATE_ZVISIBLE = 30,
    D3DRENDERSTATE_SUBPIXEL = 31,
    D3DRENDERSTATE_SUBPIXELX = 32,
    D3DRENDERSTATE_STIPPLEDALPHA = 33,
    D3DRENDERSTATE_FOGCOLOR = 34,
    D3DRENDERSTATE_FOGTABLEMODE = 35,
    D3DRENDERSTATE_FOGTABLESTART = 36,
    D3DRENDERSTATE_FOGTABLEEND = 37,
    D3DRENDERSTATE_FOGTABLEDENSITY = 38,
    D3DRENDERSTATE_STIPPLEENABLE = 39,
    D3DRENDERSTATE_EDGEANTIALIAS = 40,
    D3DRENDERSTATE_COLORKEYENABLE = 41,
    D3DRENDERSTATE_BORDERCOLOR = 43,
    D3DRENDERSTATE_TEXTUREADDRESSU = 44,
    D3DRENDERSTATE_TEXTUREADDRESSV = 45,
    D3DRENDERSTATE_MIPMAPLODBIAS = 46,
    D3DRENDERSTATE_ZBIAS = 47,
    D3DRENDERSTATE_RANGEFOGENABLE = 48,
    D3DRENDERSTATE_ANISOTROPY = 49,
    D3DRENDERSTATE_FLUSHBATCH = 50,
};

// Render and light states take one 32-bit value: booleans are 0/1.
inline constexpr uint32_t D3DSTATE_FALSE = 0;
inline constexpr uint32_t D3DSTATE_TRUE = 1;

enum D3DFILLMODE : uint32_t { D3DFILL_POINT = 1, D3DFILL_WIREFRAME = 2, D3DFILL_SOLID = 3 };
enum D3DSHADEMODE : uint32_t { D3DSHADE_FLAT = 1, D3DSHADE_GOURAUD = 2, D3DSHADE_PHONG = 3 };
enum D3DCULL : uint32_t { D3DCULL_NONE = 1, D3DCULL_CW = 2, D3DCULL_CCW = 3 };
enum D3DFOGMODE : uint32_t { D3DFOG_NONE = 0, D3DFOG_EXP = 1, D3DFOG_EXP2 = 2, D3DFOG_LINEAR = 3 };
enum D3DCMPFUNC : uint32_t {
    D3DCMP_NEVER = 1,
    D3DCMP_LESS = 2,
    D3DCMP_EQUAL = 3,
    D3DCMP_LESSEQUAL = 4,
    D3DCMP_GREATER = 5,
    D3DCMP_NOTEQUAL = 6,
    D3DCMP_GREATEREQUAL = 7,
    D3DCMP_ALWAYS = 8,
};

inline constexpr uint32_t D3DCLEAR_TARGET = 0x00000001;
inline constexpr uint32_t D3DCLEAR_ZBUFFER = 0x00000002;

// Float-valued light states (FOGSTART, FOGEND, FOGDENSITY) carry the float's bit pattern.
// The compilers' built-in is what std::bit_cast is made of; the browser build's standard
// library is too old to offer std::bit_cast itself.
constexpr uint32_t D3DStateFromFloat(float value) {
    return __builtin_bit_cast(uint32_t, value);
}
constexpr float D3DStateToFloat(uint32_t state) {
    return __builtin_bit_cast(float, state);
}

static_assert(sizeof(D3DMATRIX) == 64);
static_assert(sizeof(D3DMATERIAL) == 80);
static_assert(sizeof(D3DLIGHT2) == 80);
static_assert(sizeof(D3DVIEWPORT2) == 44);
static_assert(sizeof(D3DVERTEX) == 32);
