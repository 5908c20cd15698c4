#pragma once
// The band map window of the current band's spots.

#include <QDialog>

namespace zq {

class SpectrumMap : public QDialog {
    Q_OBJECT
public:
    SpectrumMap()
    {
        setObjectName(QStringLiteral("SpectrumMap"));
        setWindowTitle(QStringLiteral(" HF Spectrum Map"));
    }
    // Redraws the spot labels of the band shown.
    void BandMapLabelDisplay() {}
};

} // namespace zq
