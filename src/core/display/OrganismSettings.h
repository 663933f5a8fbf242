#pragma once

// The organism preset of the zero procedure's signal-to-noise factor. C
// elegans and zebrafish larvae have known factors and the box is hidden;
// "Customized" takes the factor typed into the box and shows it.

#include <QString>

#include <optional>

namespace bandora {

struct OrganismSettings {
    static constexpr int kCElegans = 0;
    static constexpr int kZebrafishLarvae = 1;
    static constexpr int kCustomized = 2;
    // A factor this low would count noise as activity.
    static constexpr double kLowestFactor = 1.4;
    static constexpr double kDefaultFactor = 1.8;

    // The two texts of lbl_umbral: the box hidden, the box shown.
    static QString HiddenLabel() { return QStringLiteral(">>>>"); }
    static QString ShownLabel() { return QStringLiteral("> Zero SNR:"); }

    double SnrThreshold = kDefaultFactor;
    std::optional<QString> boxText; // the new text of txt_snr_umbral, if it changes
    std::optional<bool> boxVisible; // and its visibility, if it changes

    // The preset for the chosen organism (its list index), from the present
    // factor and the box's text. Other indexes (the size classes of older
    // projects) keep what is there, except a factor that is too low.
    static OrganismSettings Apply(int organism, double current, const QString& boxText);
};

} // namespace bandora
