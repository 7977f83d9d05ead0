#include "scene/Transmat.h"

#include <cmath>
#include <utility>

namespace {

// Normalises v by its length; the square root is taken in double precision.
TVector Normalised(const TVector& v) {
    const float length = static_cast<float>(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z));
    return {v.x / length, v.y / length, v.z / length};
}

TVector Cross(const TVector& a, const TVector& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(const TVector& a, const TVector& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

struct TSinCos {
    float Cos;
    float Sin;
};

TSinCos SinCos(double angle) {
    // Most models stand unturned about most axes; cos 0 and sin 0 are exactly 1 and 0.
    if (angle == 0.0) {
        return {1.0f, 0.0f};
    }
    return {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle))};
}

} // namespace

TMatrix MatrixIdentity() {
    TMatrix m = MatrixZero();
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

TMatrix MatrixZero() {
    return TMatrix{};
}

TMatrix MatrixMultiply(const TMatrix& a, const TMatrix& b) {
    TMatrix r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a.m(i, k) * b.m(k, j);
            }
            r.m(i, j) = sum;
        }
    }
    return r;
}

TMatrix MatrixTranslate(float x, float y, float z) {
    TMatrix m = MatrixIdentity();
    m._41 = x;
    m._42 = y;
    m._43 = z;
    return m;
}

TMatrix MatrixRotateX(float angle) {
    const auto [c, s] = SinCos(angle);
    TMatrix m = MatrixIdentity();
    m._22 = c;
    m._23 = s;
    m._32 = -s;
    m._33 = c;
    return m;
}

TMatrix MatrixRotateY(float angle) {
    const auto [c, s] = SinCos(angle);
    TMatrix m = MatrixIdentity();
    m._11 = c;
    m._13 = -s;
    m._31 = s;
    m._33 = c;
    return m;
}

TMatrix MatrixRotateZ(float angle) {
    const auto [c, s] = SinCos(angle);
    TMatrix m = MatrixIdentity();
    m._11 = c;
    m._12 = s;
    m._21 = -s;
    m._22 = c;
    return m;
}

TMatrix MatrixView(const TVector& eye, const TVector& at, const TVector& up, float angle) {
    const TVector zv = Normalised({at.x - eye.x, at.y - eye.y, at.z - eye.z});
    const TVector xv = Normalised(Cross(up, zv));
    const TVector yv = Normalised(Cross(zv, xv));

    TMatrix view = MatrixIdentity();
    view._11 = xv.x;
    view._21 = xv.y;
    view._31 = xv.z;
    view._12 = yv.x;
    view._22 = yv.y;
    view._32 = yv.z;
    view._13 = zv.x;
    view._23 = zv.y;
    view._33 = zv.z;
    view._41 = -Dot(xv, eye);
    view._42 = -Dot(yv, eye);
    view._43 = -Dot(zv, eye);

    if (angle != 0.0f) {
        return MatrixMultiply(MatrixRotateZ(-angle), view);
    }
    return view;
}

TMatrix MatrixProjection(float nearZ, float farZ, float fov) {
    const auto [c, s] = SinCos(fov * 0.5);
    const float q = static_cast<float>(s / (1.0 - nearZ / farZ));
    TMatrix m = MatrixZero();
    m._11 = c;
    m._22 = c;
    m._33 = q;
    m._34 = s;
    m._43 = -q * nearZ;
    return m;
}

bool MatrixInverse(const TMatrix& m, TMatrix& inverse) {
    // Gauss-Jordan elimination on [m | I] with the largest pivot of each column.
    double a[4][8];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            a[r][c] = m.m(r, c);
            a[r][c + 4] = r == c ? 1.0 : 0.0;
        }
    }
    for (int column = 0; column < 4; ++column) {
        int pivot = column;
        for (int r = column + 1; r < 4; ++r) {
            if (std::abs(a[r][column]) > std::abs(a[pivot][column])) {
                pivot = r;
            }
        }
        if (a[pivot][column] == 0.0) {
            return false;
        }
        std::swap(a[pivot], a[column]);
        const double scale = 1.0 / a[column][column];
        for (double& element : a[column]) {
            element *= scale;
        }
        for (int r = 0; r < 4; ++r) {
            if (r == column || a[r][column] == 0.0) {
                continue;
            }
            const double factor = a[r][column];
            for (int c = 0; c < 8; ++c) {
                a[r][c] -= factor * a[column][c];
            }
        }
    }
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            inverse.m(r, c) = static_cast<float>(a[r][c + 4]);
        }
    }
    return true;
}
