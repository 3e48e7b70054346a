#pragma once
// Manuals screen: the station's manual and those of the three device models,
// shown as links. No document is attached yet, so the links open nothing.
#include "screens/CadreEnhanced.h"

class QLabel;

class TFrameNotices : public TFrameEnhanced {
    Q_OBJECT
public:
    explicit TFrameNotices(QWidget* parent = nullptr);

    void ChangerLangue(TLangue langue) override;

private:
    QLabel* LabelTitre;
    QLabel* LabelNoticeVeilleur;
    QLabel* LabelNoticeKMT;
    QLabel* LabelNoticeQFL8;
    QLabel* LabelNoticeQFL16;
};
