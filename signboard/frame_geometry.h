#pragma once
// Where the three frame pieces around the signboard go: a post on the left
// (0), a post on the right (1) and a bar underneath (2). Plain single-precision
// sums in twips; nothing is clamped, so a signboard near the window's edge
// gets a frame partly outside it.
#include "platform/core/twips.h"

namespace signboard
{

inline constexpr float postWidth = 75.0f;
inline constexpr float barExtra = 150.0f;    // the bar runs under both posts
inline constexpr float postOverhang = 15.0f; // the posts reach this far below the board

// The refit: piece index laid around the board. Only the posts' width and the
// bar's height are taken from the piece as it stands.
tw::Rect refitPiece(int index, const tw::Rect& board, const tw::Rect& piece);

// The size follower: like the refit, but the posts keep their height.
tw::Rect followPiece(int index, const tw::Rect& board, const tw::Rect& piece);

} // namespace signboard
