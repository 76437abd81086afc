#pragma once
// The words of the record's page in the calibrator's two languages.

namespace vadero::report {

struct PageText {
    const char* title;
    const char* asFound;
    const char* asLeft;
    const char* tag;
    const char* instrument;
    const char* loop;
    const char* mode;
    const char* source;
    const char* measure;
    const char* tolerance;
    const char* ofSpan;
    const char* points;
    const char* upDown;
    const char* start;
    const char* end;
    const char* technician;
    const char* calibrator;
    const char* range;
    const char* tool;
    // The table's columns.
    const char* number;
    const char* direction;
    const char* up;
    const char* down;
    const char* nominal;
    const char* calibratorValue;
    const char* raw;
    const char* reading;
    const char* applied;
    const char* ideal;
    const char* error;
    const char* result;
    const char* pass;
    const char* fail;
    const char* above;
    const char* below;
    // The plot.
    const char* plotTitle;
    const char* band;
    // The verdict.
    const char* conforming;
    const char* notConforming;
    const char* incomplete;
    const char* withinOf;  // "%d of %d points within tolerance"
    const char* notTaken;  // "%d of %d points not taken"
    // Signatures.
    const char* reviewer;
    const char* date;
    const char* signature;
    const char* page;
};

const PageText& TextOf(bool english);

}  // namespace vadero::report
