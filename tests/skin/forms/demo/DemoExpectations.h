// What the demonstrations' photographs must show, written as lines for
// skin_shot_check (see ShotCheck.cpp).
#pragma once

#include "platform/forms/Forms.h"
#include "skin/forms/SkinForm.h"

#include <cstdint>
#include <ostream>
#include <string>

// Six hex digits, RRGGBB.
std::string Hex(std::uint32_t Rgb);
// 0xRRGGBB of a colour, system colours resolved.
std::uint32_t RgbOf(TColor C);
// True when the frame point (window coordinates) lies on a visible caption
// object, whose look follows the pointer.
bool InAnyObject(TbsSkinForm* C, int X, int Y);
// "pixel NAME-frame X Y COLOUR" for points along the caption band, the side
// borders and the bottom border of the form, each as the form's own frame
// painter paints it into a picture (points inside the client, outside the
// window's shape or on a caption object are left out). The screen then has
// to show that frame, whole, opaque and in its place.
void WriteFramePoints(std::ostream& Out, TForm* F, const std::string& Name);
