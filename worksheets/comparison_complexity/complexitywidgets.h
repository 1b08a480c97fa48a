#pragma once

#include "model/complexitytables.h"

#include <QFont>
#include <QWidget>

#include <array>
#include <functional>

class QLabel;

namespace grid {
class Grid;
}

namespace worksheets::complexity {

using model::complexity::kCategoryCount;
using model::complexity::Tallies;
using model::complexity::Tally;

// The label, its font made bold.
QLabel* Bold(QLabel* label);
// A fixed-pitch font of the size of like, in which texts padded with blanks line up.
QFont FixedPitch(const QFont& like);
// Gives the grid's last column the width the others leave, so that wrapped text uses the whole
// grid; room is kept for the vertical scroll bar.
void FillLastColumn(grid::Grid& grid);

// The eight category captions (lblCategory) with their rating captions (lblCategoryComplexity)
// beside them, under a "Category" header, as both complexity worksheets show them.
class CategoryColumn : public QWidget {
    Q_OBJECT
public:
    // With onClick the captions can be chosen with the mouse or, once focused, with Space or
    // Enter; ratingHeader, when not empty, heads the rating captions.
    CategoryColumn(const QString& ratingHeader, std::function<void(int category)> onClick, QWidget* parent = nullptr);

    QLabel* category(int k) const { return mCategory[size_t(k)]; }
    QLabel* rating(int k) const { return mRating[size_t(k)]; }

    void showTally(int k, const Tally& tally);
    void showTallies(const Tallies& tallies);
    // The background of a chosen caption (yellow) or of the others (light yellow).
    void setChosen(int k, bool chosen);

private:
    std::array<QLabel*, kCategoryCount + 1> mCategory{};
    std::array<QLabel*, kCategoryCount + 1> mRating{};
};

} // namespace worksheets::complexity
