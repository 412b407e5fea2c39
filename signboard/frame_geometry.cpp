#include "signboard/frame_geometry.h"

namespace signboard
{

tw::Rect followPiece(int index, const tw::Rect& board, const tw::Rect& piece)
{
    switch (index) {
    case 0:
        return {board.left - postWidth, board.top, piece.width, piece.height};
    case 1:
        return {board.left + board.width, board.top, piece.width, piece.height};
    case 2:
        return {board.left - postWidth, board.top + board.height, board.width + barExtra, piece.height};
    default:
        return piece;
    }
}

tw::Rect refitPiece(int index, const tw::Rect& board, const tw::Rect& piece)
{
    tw::Rect r = followPiece(index, board, piece);
    if (index == 0 || index == 1)
        r.height = board.height + postOverhang;
    return r;
}

} // namespace signboard
