// The Sentence Rates window's pane: what the selected row's last sentence says,
// kept on the same row and brought up to date by every refresh.
#include "views/DetailsPane.h"
#include "views/SentenceRatesForm.h"

#include <gtest/gtest.h>

using namespace kvl;

namespace {

class SentenceRatesDetailsTest : public testing::Test {
protected:
    void Add(const std::string& line) { Rates.Add(TSentence(line, ""), TSentenceRates::Clock::now()); }
    QString PaneText() { return Form.Details().toPlainText(); }
    // The table row (as sorted) of a sentence address.
    int RowOf(const QString& sentence) {
        Form.Refresh();
        for (int row = 0; row < Form.Model().rowCount(); ++row)
            if (Form.Model().CellText(row, TSentenceRatesModel::colSentence) == sentence)
                return row; // one source only: the model's order is the sorted order
        return -1;
    }

    TSentenceRates Rates;
    TSentenceRatesForm Form{Rates};
};

} // namespace

TEST_F(SentenceRatesDetailsTest, TheSelectedRowsLastSentenceIsExplainedAndFollowed) {
    Add("$GPRMC,123519.00,A,5106.9792,N,00117.3189,E,6.4,084.2,150324,1.2,W,A*27");
    Add("$IIMWV,045.3,R,10.6,N,A*16");
    Form.show();
    EXPECT_TRUE(PaneText().startsWith("Select a row"));
    const int mwv = RowOf("IIMWV");
    ASSERT_GE(mwv, 0);
    Form.SelectRow(mwv);
    EXPECT_TRUE(PaneText().contains("$IIMWV: Wind speed and angle"));
    EXPECT_TRUE(PaneText().contains("Wind angle 45.3 deg"));
    EXPECT_TRUE(PaneText().contains("Wind speed 10.6 kn"));

    // The source now says something else: the refresh keeps the row and explains its new sentence.
    Add("$IIMWV,050.0,T,11.2,N,V*11");
    Form.Refresh();
    EXPECT_TRUE(PaneText().contains("Wind angle 50.0 deg"));
    EXPECT_TRUE(PaneText().contains("Reference: true (theoretical)"));
    EXPECT_TRUE(PaneText().contains("Status: not valid"));
    EXPECT_TRUE(PaneText().contains("Checksum: wrong"));

    Form.SelectRow(-1);
    EXPECT_TRUE(PaneText().startsWith("Select a row"));
}
