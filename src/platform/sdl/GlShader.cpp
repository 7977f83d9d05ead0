#include "platform/sdl/GlShader.h"

#include <cstdio>
#include <string>

namespace {

// Eye space is D3D's: left-handed, the camera at the origin looking down +z. Light positions and
// directions arrive already in eye space, directions normalised and pointing the way light travels.
constexpr const char* kLightingVertexSource = R"(
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;

uniform mat4 uWorldView;
uniform mat4 uProjClip;
uniform mat3 uNormalMatrix;

uniform int uLightCount;
uniform int uLightType[MAX_LIGHTS];
uniform vec3 uLightPosition[MAX_LIGHTS];
uniform vec3 uLightDirection[MAX_LIGHTS];
uniform vec3 uLightColor[MAX_LIGHTS];
uniform vec3 uLightSpecular[MAX_LIGHTS];
uniform float uLightRange[MAX_LIGHTS];
uniform vec3 uLightAttenuation[MAX_LIGHTS];
uniform vec3 uLightSpot[MAX_LIGHTS]; // falloff, cos(theta / 2), cos(phi / 2)

uniform vec3 uAmbient;
uniform vec4 uMatDiffuse;
uniform vec3 uMatAmbient;
uniform vec3 uMatSpecular;
uniform vec3 uMatEmissive;
uniform float uMatPower;
uniform bool uSpecularEnable;

uniform bool uFogEnable;
uniform float uFogStart;
uniform float uFogEnd;

SHADE out vec3 vDiffuse;
SHADE out vec3 vSpecular;
out float vFog;

void main() {
    vec4 eye = vec4(aPosition, 1.0) * uWorldView;
    vec4 clip = eye * uProjClip;
    // D3D keeps 0 <= z <= w; GL clips -w <= z <= w. This remap makes the stored depth z/w.
    gl_Position = vec4(clip.x, clip.y, 2.0 * clip.z - clip.w, clip.w);

    vec3 p = eye.xyz / eye.w;
    vec3 n = normalize(aNormal * uNormalMatrix);
    vec3 toViewer = normalize(-p);
    vec3 diffuse = vec3(0.0);
    vec3 specular = vec3(0.0);
    for (int i = 0; i < uLightCount; ++i) {
        vec3 l;
        float attenuation = 1.0;
        if (uLightType[i] == LIGHT_DIRECTIONAL) {
            l = -uLightDirection[i];
        } else {
            vec3 d = uLightPosition[i] - p;
            float distance = length(d);
            float range = uLightRange[i];
            if (distance >= range)
                continue;
            l = d / max(distance, 1e-20);
            float dn = (range - distance) / range;
            vec3 a = uLightAttenuation[i];
            attenuation = a.x + a.y * dn + a.z * dn * dn;
            if (uLightType[i] == LIGHT_SPOT) {
                float rho = dot(-l, uLightDirection[i]);
                vec3 s = uLightSpot[i];
                if (rho <= s.z)
                    continue;
                if (rho < s.y)
                    attenuation *= pow((rho - s.z) / (s.y - s.z), s.x);
            }
        }
        float nl = dot(n, l);
        if (nl <= 0.0)
            continue;
        diffuse += attenuation * uLightColor[i] * nl;
        if (uSpecularEnable && uMatPower > 0.0) {
            float t = dot(n, normalize(l + toViewer));
            if (t > 0.0)
                specular += attenuation * uLightSpecular[i] * pow(t, uMatPower);
        }
    }
    vDiffuse = clamp(uMatAmbient * uAmbient + uMatDiffuse.rgb * diffuse + uMatEmissive, 0.0, 1.0);
    vSpecular = clamp(uMatSpecular * specular, 0.0, 1.0);

    // Depth fog runs on the projected w, which a perspective projection makes proportional to
    // the eye depth (the game's camera gives w = 0.287 z); fog distances are in those units.
    vFog = 1.0;
    if (uFogEnable) {
        float depth = clip.w;
        float span = uFogEnd - uFogStart;
        vFog = span != 0.0 ? clamp((uFogEnd - depth) / span, 0.0, 1.0)
                           : (depth < uFogEnd ? 1.0 : 0.0);
    }
}
)";

constexpr const char* kLightingFragmentSource = R"(
SHADE in vec3 vDiffuse;
SHADE in vec3 vSpecular;
in float vFog;

uniform bool uFogEnable;
uniform vec3 uFogColor;

out vec4 fragColor;

void main() {
    vec3 color = clamp(vDiffuse + vSpecular, 0.0, 1.0);
    if (uFogEnable)
        color = mix(uFogColor, color, vFog);
    fragColor = vec4(color, 1.0);
}
)";

constexpr const char* kTextVertexSource = R"(uniform vec2 uWindowSize;
uniform vec4 uRect; // left, top, right, bottom in window pixels, y down
out vec2 vUv;

void main() {
    vec2 corner = vec2(gl_VertexID & 1, gl_VertexID >> 1);
    vec2 pixel = mix(uRect.xy, uRect.zw, corner);
    vUv = corner;
    gl_Position = vec4(pixel.x / uWindowSize.x * 2.0 - 1.0, 1.0 - pixel.y / uWindowSize.y * 2.0,
                       0.0, 1.0);
}
)";

constexpr const char* kTextFragmentSource = R"(uniform sampler2D uCoverage;
uniform vec3 uColor;
in vec2 vUv;
out vec4 fragColor;

void main() {
    fragColor = vec4(uColor, texture(uCoverage, vUv).r);
}
)";

GLuint CompileStage(GLenum stage, const std::string& source) {
    const GLuint shader = glCreateShader(stage);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE) {
        return shader;
    }
    char log[2048] = {};
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    std::fprintf(stderr, "Octavane: shader compilation failed: %s\n", log);
    glDeleteShader(shader);
    return 0;
}

GLuint Link(const std::string& vertexSource, const std::string& fragmentSource) {
    const GLuint vertex = CompileStage(GL_VERTEX_SHADER, vertexSource);
    const GLuint fragment = CompileStage(GL_FRAGMENT_SHADER, fragmentSource);
    if (vertex == 0 || fragment == 0) {
        glDeleteShader(vertex);
        glDeleteShader(fragment);
        return 0;
    }
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glBindAttribLocation(program, kGlAttribPosition, "aPosition");
    glBindAttribLocation(program, kGlAttribNormal, "aNormal");
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok == GL_TRUE) {
        return program;
    }
    char log[2048] = {};
    glGetProgramInfoLog(program, sizeof log, nullptr, log);
    std::fprintf(stderr, "Octavane: shader link failed: %s\n", log);
    glDeleteProgram(program);
    return 0;
}

std::string LightingPrelude(bool flat) {
    std::string prelude = kGlslVersionLine;
    prelude += "#define MAX_LIGHTS " + std::to_string(kGlMaxLights) + "\n";
    prelude += "#define LIGHT_SPOT " + std::to_string(kGlLightSpot) + "\n";
    prelude += "#define LIGHT_DIRECTIONAL " + std::to_string(kGlLightDirectional) + "\n";
    prelude += flat ? "#define SHADE flat\n" : "#define SHADE smooth\n";
    return prelude;
}

} // namespace

TGlLightingProgram::~TGlLightingProgram() {
    Release();
}

void TGlLightingProgram::Release() {
    if (Program != 0) {
        glDeleteProgram(Program);
    }
    Program = 0;
}

bool TGlLightingProgram::Build(bool flat) {
    const std::string prelude = LightingPrelude(flat);
    Program = Link(prelude + kLightingVertexSource, prelude + kLightingFragmentSource);
    if (Program == 0) {
        return false;
    }
    auto at = [this](const char* name) { return glGetUniformLocation(Program, name); };
    Locations.WorldView = at("uWorldView");
    Locations.ProjClip = at("uProjClip");
    Locations.NormalMatrix = at("uNormalMatrix");
    Locations.LightCount = at("uLightCount");
    Locations.LightType = at("uLightType");
    Locations.LightPosition = at("uLightPosition");
    Locations.LightDirection = at("uLightDirection");
    Locations.LightColor = at("uLightColor");
    Locations.LightSpecular = at("uLightSpecular");
    Locations.LightRange = at("uLightRange");
    Locations.LightAttenuation = at("uLightAttenuation");
    Locations.LightSpot = at("uLightSpot");
    Locations.Ambient = at("uAmbient");
    Locations.MatDiffuse = at("uMatDiffuse");
    Locations.MatAmbient = at("uMatAmbient");
    Locations.MatSpecular = at("uMatSpecular");
    Locations.MatEmissive = at("uMatEmissive");
    Locations.MatPower = at("uMatPower");
    Locations.SpecularEnable = at("uSpecularEnable");
    Locations.FogEnable = at("uFogEnable");
    Locations.FogStart = at("uFogStart");
    Locations.FogEnd = at("uFogEnd");
    Locations.FogColor = at("uFogColor");
    return true;
}

TGlTextProgram::~TGlTextProgram() {
    Release();
}

void TGlTextProgram::Release() {
    if (Program != 0) {
        glDeleteProgram(Program);
    }
    Program = 0;
}

bool TGlTextProgram::Build() {
    Program = Link(std::string(kGlslVersionLine) + kTextVertexSource,
                   std::string(kGlslVersionLine) + kTextFragmentSource);
    if (Program == 0) {
        return false;
    }
    WindowSizeLocation = glGetUniformLocation(Program, "uWindowSize");
    RectLocation = glGetUniformLocation(Program, "uRect");
    ColorLocation = glGetUniformLocation(Program, "uColor");
    SamplerLocation = glGetUniformLocation(Program, "uCoverage");
    return true;
}
