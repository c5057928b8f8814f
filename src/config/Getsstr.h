// TGetSrchStrDlg: the search string dialog every searchable list uses. It
// keeps its text, where to begin and "Case Dependent" for the whole run.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TGetSrchStrDlg : public QDialog {
    Q_OBJECT
public:
    enum SearchFrom { FromTop, FromCursor, Cancelled };

    explicit TGetSrchStrDlg(QWidget* parent = nullptr);

    // Kept from one use to the next.
    QString SearchText;           // at most 80 characters
    SearchFrom How = Cancelled;
    bool CaseDependent = false;

    // The help topic list empties the text and the case flag on activation.
    void ResetSearch();

    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* SrchStr1;
    QPushButton* FromTopBtn;
    QPushButton* FromCursorBtn;
    QPushButton* CancelBtn;
    QCheckBox* CaseBox;

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FromTopBtnClick();
    void FromCursorBtnClick();
    void CancelBtnClick();
    void begin(SearchFrom how);
};

// The one search dialog of the running program: the one set, else one made
// on first use.
TGetSrchStrDlg* GetSrchStrDlg();
void setGetSrchStrDlg(TGetSrchStrDlg* dlg);
