#pragma once

#include "ui/WorkFrame.h"

#include <QList>

namespace pavlora {

class TECButton;
class TMainForm;

// The start page shown until page descriptions exist: a greeting and tiles
// for the main ways into the program. A tile whose command cannot run yet
// (its page is not there, or the catalogue is not loaded) is disabled, so
// the page copes with being shown before the catalogue is read.
class TStartFrame : public TWorkFrame {
    Q_OBJECT

public:
    explicit TStartFrame(TMainForm& mainForm, QWidget* parent = nullptr);

    void Activate(int reason) override;
    QList<TECButton*> Tiles() const { return tiles_; }

private:
    void UpdateTiles();

    TMainForm& mainForm_;
    QList<TECButton*> tiles_;
};

} // namespace pavlora
