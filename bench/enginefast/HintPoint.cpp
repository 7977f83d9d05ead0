// Where the hint, the analysis and the Master level start to solve exactly: for each number of
// empty squares E, the slowest exact solve among positions from level-9 self-play games, one
// position at E from each game. The games start from distinct random openings of four moves
// (seeded, so every run plays the same games); the level-9 player then plays both sides to the
// end. Prints one line per E: the positions, the slowest and the mean thread CPU seconds (the
// steady figure on a machine shared with other work), the slowest wall seconds and the most
// nodes; then the largest E at which the slowest took at most 0.5 s, with every smaller E too.
//
//   hint_point [GAMES [FIRST_E]]     (defaults: 100 games, from 14 empty squares up)

#include "engine/EndgameSolver.h"
#include "engine/FastBridge.h"
#include "engine/FastIsa.h"
#include "engine/discsage.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <random>
#include <set>
#include <vector>

namespace {

constexpr int kOpeningMoves = 4;
constexpr int kLevel = 9;
constexpr double kHintSecondsLimit = 0.5;

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Every position of one game, keyed by its empty squares: the first there with a move to make.
std::map<int, TBoard> PlayGame(std::mt19937_64& random, std::set<std::vector<int>>& openings) {
    TBoard board;
    std::vector<int> opening;
    do {
        board = TBoard();
        opening.clear();
        for (int ply = 0; ply < kOpeningMoves; ++ply) {
            std::vector<int> moves;
            for (int square = 0; square < 64; ++square) {
                if (board.CanPlace(square % 8, square / 8)) {
                    moves.push_back(square);
                }
            }
            const int square = moves[random() % moves.size()];
            board.Place(square % 8, square / 8);
            opening.push_back(square);
        }
    } while (!openings.insert(opening).second);
    TSage sage;
    sage.SetLevel(kLevel);
    std::map<int, TBoard> positions;
    while (!board.IsGameOver()) {
        int x = 0;
        int y = 0;
        if (sage.Think(board, &x, &y)) {
            positions.emplace(board.GetCount(cellEmpty), board);
            board.Place(x, y);
        } else {
            board.Pass();
        }
    }
    return positions;
}

struct TRow {
    int Positions = 0;
    double SlowestCpu = 0;
    double TotalCpu = 0;
    double SlowestWall = 0;
    std::uint64_t MostNodes = 0;
};

TRow SolveAll(const std::vector<TBoard>& boards) {
    TRow row;
    for (const TBoard& board : boards) {
        const TFastPosition position = ToFastPosition(board);
        const TBitboard own = position.BlackToMove ? position.Black : position.White;
        const TBitboard opp = position.BlackToMove ? position.White : position.Black;
        TEndgameSolver solver;
        const double cpu = ThreadCpuSeconds();
        const auto wall = std::chrono::steady_clock::now();
        const TSolveResult result = solver.Solve(own, opp);
        const double cpuTaken = ThreadCpuSeconds() - cpu;
        const std::chrono::duration<double> wallTaken = std::chrono::steady_clock::now() - wall;
        ++row.Positions;
        row.SlowestCpu = std::max(row.SlowestCpu, cpuTaken);
        row.TotalCpu += cpuTaken;
        row.SlowestWall = std::max(row.SlowestWall, wallTaken.count());
        row.MostNodes = std::max(row.MostNodes, result.Nodes);
    }
    return row;
}

} // namespace

int main(int argc, char** argv) {
    const int games = argc > 1 ? std::atoi(argv[1]) : 100;
    const int firstEmpties = argc > 2 ? std::atoi(argv[2]) : 14;
    std::mt19937_64 random(2026);
    std::set<std::vector<int>> openings;
    std::map<int, std::vector<TBoard>> byEmpties;
    for (int game = 0; game < games; ++game) {
        for (const auto& [empties, board] : PlayGame(random, openings)) {
            byEmpties[empties].push_back(board);
        }
    }
    std::printf("%d level-%d games, the %s build\n", games, kLevel, FastIsaName(FastSelectedIsa()));
    std::printf("%3s %9s %12s %10s %13s %12s\n", "E", "positions", "slowest_cpu", "mean_cpu",
                "slowest_wall", "most_nodes");
    int point = firstEmpties - 1;
    for (int empties = firstEmpties; empties <= 40; ++empties) {
        const TRow row = SolveAll(byEmpties[empties]);
        std::printf("%3d %9d %12.3f %10.3f %13.3f %12llu\n", empties, row.Positions, row.SlowestCpu,
                    row.TotalCpu / std::max(row.Positions, 1), row.SlowestWall,
                    static_cast<unsigned long long>(row.MostNodes));
        std::fflush(stdout);
        if (row.SlowestCpu > kHintSecondsLimit) {
            break;
        }
        point = empties;
    }
    std::printf("largest E with every slowest solve within %.1f s: %d\n", kHintSecondsLimit, point);
    return 0;
}
