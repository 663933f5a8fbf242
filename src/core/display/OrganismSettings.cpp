#include "OrganismSettings.h"

#include "core/storage/RecordSyntax.h"

namespace bandora {

OrganismSettings OrganismSettings::Apply(int organism, double current, const QString& boxText)
{
    OrganismSettings s;
    s.SnrThreshold = current;
    switch (organism) {
    case kCElegans:
        s.SnrThreshold = 1.8;
        s.boxVisible = false;
        break;
    case kZebrafishLarvae:
        s.SnrThreshold = 2.8;
        s.boxVisible = false;
        break;
    case kCustomized:
        s.SnrThreshold = NumericValue(boxText);
        s.boxVisible = true;
        break;
    default:
        break;
    }
    if (organism == kCElegans || organism == kZebrafishLarvae)
        s.boxText = QString::number(s.SnrThreshold, 'f', 1);
    if (s.SnrThreshold <= kLowestFactor) {
        s.SnrThreshold = kDefaultFactor;
        s.boxText = QString::number(kDefaultFactor, 'f', 1);
    }
    return s;
}

} // namespace bandora
