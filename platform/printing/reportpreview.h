#pragma once

#include <QWidget>

class QLabel;
class QScrollArea;
class QToolButton;

namespace printing {

class ReportDocument;

// Shows the pages of a report document one at a time, at a zoom or fitted to the window's width.
class ReportPreview : public QWidget {
    Q_OBJECT
public:
    explicit ReportPreview(QWidget* parent = nullptr);

    void SetDocument(const ReportDocument* document);   // not owned
    // Call after the document has been produced again.
    void Refresh();

    int CurrentPage() const { return mPage; }           // 0-based
    void ShowPage(int index);
    double Zoom() const { return mZoom; }               // 1.0: the page at its printed size
    void SetZoom(double zoom);
    bool FitWidth() const { return mFitWidth; }
    void SetFitWidth(bool on);

    // The page as shown, at the current zoom.
    QImage PageImage(int index) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    double EffectiveZoom() const;
    void UpdateView();

    const ReportDocument* mDocument = nullptr;
    int mPage = 0;
    double mZoom = 1.0;
    bool mFitWidth = true;
    QScrollArea* mScroll;
    QLabel* mPageView;
    QLabel* mPageLabel;
    QToolButton* mPrevious;
    QToolButton* mNext;
    QToolButton* mFit;
    QToolButton* mZoomIn;
    QToolButton* mZoomOut;
};

}  // namespace printing
