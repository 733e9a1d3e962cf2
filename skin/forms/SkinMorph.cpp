#include "skin/forms/SkinMorph.h"

void MorphByKind(TbsEffectBmp& From, TbsEffectBmp& To, double Kf, TbsMorphKind Kind) {
    switch (Kind) {
    case mkDefault:
        From.Morph(&To, Kf);
        break;
    case mkGradient:
        From.MorphGrad(&To, Kf);
        break;
    case mkLeftGradient:
        From.MorphLeftGrad(&To, Kf);
        break;
    case mkRightGradient:
        From.MorphRightGrad(&To, Kf);
        break;
    case mkLeftSlide:
        From.MorphLeftSlide(&To, Kf);
        break;
    case mkRightSlide:
        From.MorphRightSlide(&To, Kf);
        break;
    case mkPush:
        From.MorphPush(&To, Kf);
        break;
    }
}
