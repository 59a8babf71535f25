// The list report of a large generated file: laying out its pages, and
// saving it to PDF as the print dialog's Save to File does (one layout, run
// straight into the filter). Real font metrics, as in the program.
//
//   bench_reports [--individuals N] [benchmark options]
//
// Default size: 100,000 individuals. The counter peak_MB is the process's
// peak resident size so far: run one benchmark per process
// (--benchmark_filter) to read it per case.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <QGuiApplication>

#include "bench/GeneratedFile.h"
#include "columns/ColSortIterator.h"
#include "columns/ColumnTable.h"
#include "columns/ListColumns.h"
#include "export/PsQRPDFFilter.h"
#include "gedcom/GEDCollection.h"
#include "model/Options.h"
#include "reports/ReportList.h"
#include "reports/render/QRRenderer.h"

namespace {

long g_individuals = 100000;

double peakMB() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return double(ru.ru_maxrss) / 1024.0;
}

// The list report as the print dialog builds it, over the List view's columns.
struct ListReport {
    std::unique_ptr<WGEDCollection> c;
    std::unique_ptr<WListColumns> columns;
    std::unique_ptr<WColSortIterator> iterator;
    std::unique_ptr<TReportListForm> form;
    explicit ListReport(long n) {
        c = std::make_unique<WGEDCollection>(generatedFile(n));
        if (!c->Open()) {
            std::fprintf(stderr, "could not open the generated file\n");
            std::exit(1);
        }
        c->AfterOpen();
        columns = std::make_unique<WListColumns>(c.get(), "List");
        columns->SetColumnList("1,2,7,65,67,19,18");
        // The widths the List view starts with (no settings file here).
        for (std::int32_t i = 1; i <= columns->GetCount(); ++i)
            columns->SetColumnWidth(i, ColumnTable::DefaultWidth(columns->GetColumnId(i)));
        iterator = std::make_unique<WColSortIterator>("", c->GetCount(), c.get());
        form = std::make_unique<TReportListForm>();
        form->SetTitle("List");
        form->SetCollection(c.get());
        form->SetColumns(columns.get(), iterator.get());
        form->SetFileName("bench.ged");
    }
};

void BM_ListReportLayout(benchmark::State& state) {
    ListReport r(g_individuals);
    int pages = 0;
    for (auto _ : state) {
        r.form->Prepare();
        pages = r.form->QRPrinter()->PageCount();
        state.PauseTiming();
        r.form->ReleasePages();
        state.ResumeTiming();
    }
    state.counters["pages"] = pages;
    state.counters["peak_MB"] = peakMB();
}

void BM_ListReportPdf(benchmark::State& state) {
    ListReport r(g_individuals);
    const std::string file = "/tmp/bench_reports_" + std::to_string(::getpid()) + ".pdf";
    for (auto _ : state) {
        TPsQRPDFFilter filter(file);
        r.form->ExportToFilter(&filter);
        r.form->ReleasePages();
    }
    struct stat st {};
    stat(file.c_str(), &st);
    state.counters["pdf_MB"] = double(st.st_size) / (1024.0 * 1024.0);
    state.counters["peak_MB"] = peakMB();
    std::remove(file.c_str());
}

} // namespace

int main(int argc, char** argv) {
    std::vector<char*> rest;
    if (const auto sizes = individualsOption(argc, argv, rest); !sizes.empty()) g_individuals = sizes.front();
    int restCount = static_cast<int>(rest.size());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qargc = 1;
    QGuiApplication app(qargc, argv);
    QRInstallQtMetrics();
    WOptions::Clear();
    for (int i = 1; i <= opt::kOptionCount; ++i) WOptions::SetString(i, WOptions::Row(i).Default);
    benchmark::RegisterBenchmark("BM_ListReportLayout", BM_ListReportLayout)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("BM_ListReportPdf", BM_ListReportPdf)->Unit(benchmark::kMillisecond)->Iterations(2);
    benchmark::Initialize(&restCount, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
