#include "game/GameAids.h"

#include <algorithm>
#include <cmath>

#include "device/Setdx.h"
#include "engine/EndgameSolver.h"
#include "game/GameAnimation.h"
#include "scene/Camera.h"
#include "scene/Solidmark.h"
#include "scene/Solidring.h"

namespace {

// Squares are kSquarePitch wide and centred on CellToWorld: the board spans four pitches on
// either side of its centre.
constexpr double kBoardHalfWidth = 4.0 * kSquarePitch;
constexpr int kSquareCount = kBoardSize * kBoardSize;

int CellOfWorld(double v) {
    return static_cast<int>(std::floor((v + kBoardHalfWidth) / kSquarePitch));
}

} // namespace

bool SquareUnderMouse(const TMouseFrame& mouse, int& column, int& row) {
    if (!mouse.HasPosition || g_camera == nullptr) {
        return false;
    }
    // The viewport's clip window: x/w from -1 to 1 across the screen, y/w from 0.75 at the top
    // to -0.75 at the bottom.
    const double width = kScreenWidth;
    const double height = kScreenHeight;
    const double clipX = -1.0 + 2.0 * mouse.X / width;
    const double clipY = (height / width) * (1.0 - 2.0 * mouse.Y / height);
    TVector ground{};
    if (!ClipPointOnGround(g_camera->View, g_camera->Projection, static_cast<float>(clipX),
                           static_cast<float>(clipY), ground)) {
        return false;
    }
    const int c = CellOfWorld(ground.x);
    const int r = CellOfWorld(ground.y);
    if (c < 0 || c >= kBoardSize || r < 0 || r >= kBoardSize) {
        return false;
    }
    column = c;
    row = r;
    return true;
}

TSearchRequest HintRequest(const TBoard& board) {
    return board.GetCount(cellEmpty) <= kExactEmpties
               ? MakeSearchRequest(board, TSearchKind::Exact, 0)
               : MakeSearchRequest(board, TSearchKind::Level, kHintLevel);
}

bool SamePosition(const TBoard& a, const TBoard& b) {
    return a.turn == b.turn &&
           std::equal(&a.cells[0][0], &a.cells[0][0] + kSquareCount, &b.cells[0][0]);
}

bool ScreenPointOfSquare(int column, int row, double& x, double& y) {
    if (g_camera == nullptr) {
        return false;
    }
    const TMatrix m = MatrixMultiply(g_camera->View, g_camera->Projection);
    const double wx = CellToWorld(column);
    const double wy = CellToWorld(row);
    const double w = wx * m._14 + wy * m._24 + m._44;
    if (w <= 0.0) {
        return false;
    }
    // The clip window of SquareUnderMouse, the other way round.
    const double clipX = (wx * m._11 + wy * m._21 + m._41) / w;
    const double clipY = (wx * m._12 + wy * m._22 + m._42) / w;
    x = (clipX + 1.0) * kScreenWidth / 2.0;
    y = (kScreenHeight / static_cast<double>(kScreenWidth) - clipY) * kScreenWidth / 2.0;
    return true;
}

void RenderMoveMarks(const TBoard& board) {
    if (g_moveMark == nullptr) {
        return;
    }
    TSolidMark& mark = *g_moveMark;
    mark.Visible = true;
    for (int row = 0; row < kBoardSize; ++row) {
        for (int column = 0; column < kBoardSize; ++column) {
            if (board.CanPlace(column, row)) {
                mark.Position.X.SetValue(CellToWorld(column));
                mark.Position.Y.SetValue(CellToWorld(row));
                mark.Render();
            }
        }
    }
    mark.Visible = false;
}

void RenderLastMoveMark(int column, int row) {
    if (g_lastMoveMark == nullptr) {
        return;
    }
    TSolidRing& ring = *g_lastMoveMark;
    ring.Visible = true;
    ring.Position.X.SetValue(CellToWorld(column));
    ring.Position.Y.SetValue(CellToWorld(row));
    ring.Render();
    ring.Visible = false;
}
