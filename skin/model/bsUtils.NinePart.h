// The nine-part painters: a skin rectangle of a picture turned into a bitmap
// of any size, corners copied unscaled, edges and client stretched or tiled.
//
// Geometry (see the skin elements): SkinRect in the picture; ClRect and the
// corner points LTPt, RTPt, LBPt, RBPt relative to SkinRect's top-left; the
// same for the new size (NewClRect, NewLTPoint ...). A tiled part whose
// source length is 0 is skipped: its destination stays as it was. Parts
// whose destination is empty or reversed draw nothing.
#pragma once

#include "platform/gdi/Graphics.h"
#include "skin/model/bsSkinData.IniValues.h"

void MakeNinePartBitmap(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect,
                        TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                        TRect NewClRect, TBitmap* Dest, TBitmap* Picture, TRect SkinRect, int Width,
                        int Height, bool DrawClient, bool LeftStretch, bool TopStretch,
                        bool RightStretch, bool BottomStretch, bool StretchEffect,
                        TbsStretchType StretchType);
void MakeWindowNinePartBitmap(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect,
                              TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint,
                              TPoint NewRBPoint, TRect NewClRect, TBitmap* Dest, TBitmap* Picture,
                              TRect SkinRect, int Width, int Height, bool DrawClient,
                              bool LeftStretch, bool TopStretch, bool RightStretch,
                              bool BottomStretch, bool StretchEffect, TbsStretchType StretchType);
// Without the right column: top, bottom and client run to the right edge.
void MakeNinePartBitmapNoRight(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect,
                               TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint,
                               TPoint NewRBPoint, TRect NewClRect, TBitmap* Dest, TBitmap* Picture,
                               TRect SkinRect, int Width, int Height, bool DrawClient,
                               bool LeftStretch, bool TopStretch, bool RightStretch,
                               bool BottomStretch, bool StretchEffect, TbsStretchType StretchType);
// At Dest's own size, with the corner points at the client rectangle's corners.
void MakeNinePartBitmapByClRect(TBitmap* Dest, TBitmap* Picture, TRect SkinRect, TRect ClRect,
                                bool DrawClient);
// A middle of length 0 counts as 1 in the three strips.
void MakeHorzThreePartBitmap(int LeftWidth, int RightWidth, TBitmap* Dest, TBitmap* Picture,
                             TRect SkinRect, int Width, int Height, bool StretchEffect);
void MakeHorzTwoPartBitmap(int LeftWidth, int RightWidth, TBitmap* Dest, TBitmap* Picture,
                           TRect SkinRect, int Width, int Height, bool StretchEffect);
void MakeHorzMiddleBitmap(int LeftWidth, int RightWidth, TBitmap* Dest, TBitmap* Picture,
                          TRect SkinRect, int Width, int Height, bool StretchEffect);
void MakeVertThreePartBitmap(int TopHeight, int BottomHeight, TBitmap* Dest, TBitmap* Picture,
                             TRect SkinRect, int Width, int Height, bool StretchEffect);
// The four border pieces of a Width x Height frame; a piece whose condition
// fails is left untouched.
void MakeFrameBorderBitmaps(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect,
                            TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint,
                            TPoint NewRBPoint, TRect NewClRect, TBitmap* LeftBmp, TBitmap* TopBmp,
                            TBitmap* RightBmp, TBitmap* BottomBmp, TBitmap* Picture, TRect SkinRect,
                            int Width, int Height, bool LeftStretch, bool TopStretch,
                            bool RightStretch, bool BottomStretch);

// Copy S of Picture to D of Dest (exact at equal sizes); nothing when either
// is empty.
void CopyPart(TBitmap* Dest, const TRect& D, TBitmap* Picture, const TRect& S);
// S of Picture, copied into a bitmap of its own size, drawn stretched into D.
void StretchPart(TBitmap* Dest, const TRect& D, TBitmap* Picture, const TRect& S);
// Tiles of the source columns S.Left..S.Right from X0 rightwards, the last
// cut at Limit; rows S.Top..S.Bottom onto DTop..DBottom.
void TilePartX(TBitmap* Dest, int X0, int Limit, int DTop, int DBottom, TBitmap* Picture,
               const TRect& S);
// The same downwards, from Y0, cut at Limit, columns DLeft..DRight.
void TilePartY(TBitmap* Dest, int Y0, int Limit, int DLeft, int DRight, TBitmap* Picture,
               const TRect& S);
