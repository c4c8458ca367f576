#include "runs/point_line_pipeline.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "engine/coordinate_operations.h"
#include "engine/grid_selection.h"
#include "engine/validity_zone.h"
#include "geodesy/angle.h"
#include "grids/grid.h"
#include "reports/interactive_log.h"
#include "runs/input_point_file.h"
#include "runs/output_point_file.h"
#include "runs/result_texts.h"

namespace {

// Lines handed to a thread at once: enough that handing them over costs
// little beside computing them, few enough that the lines in flight stay small.
constexpr std::size_t kBatchLines = 256;
constexpr int kMostThreads = 256;

// The current grids as a point's selection left them, copied for the
// threads (a copy shares the grid's binary file and has its own query work
// space).
struct GridCopies {
    CGrille1D vertical;
    CGrille3D translation;
    long long selection = 0;  // counts the copies made in the run, from 1
};

// One line between its reading and its writing.
struct PointLine {
    long long number = 0;  // in the input file
    bool point = false;    // read as a point: its grids were selected
    std::string raw;       // the line as read, until its point is made (`point` then set)
    std::string text;      // the reading's or the selection's text, then the point's result
    CCoor departure, arrival;
    PointOutcome outcome = PointOutcome::Succeeded;
    bool computed = false;
    // Those of the point's selection, kept alive by its batch. A plain
    // pointer: a shared count touched for every line by the reading thread
    // and the computing ones would bounce between their caches.
    const GridCopies* grids = nullptr;
    ZoneLocation location;  // of the departure, when the selection found it
    std::string output, report, log;          // the texts to write, in the files' bytes
};

// Where a batch stands. Its lines are read, then (grid method) located, then
// their grids are selected, then they are completed, then written.
enum class BatchStage { Read, Located, Selected, Done };

struct Batch {
    std::vector<PointLine> lines = std::vector<PointLine>(kBatchLines);
    std::size_t count = 0;
    std::vector<std::shared_ptr<const GridCopies>> grids;  // those its lines point at
    BatchStage stage = BatchStage::Read;  // guarded by the pipeline's mutex
};

// The completion of lines on one thread: its own copies of the current
// grids and its own streams that format the lines apart from the files.
class LineCompleter {
public:
    explicit LineCompleter(const PointLineRun& run)
        : run_(run),
          context_{run.grids->catalogue, vertical_,        translation_,
                   run.grids->headers,   run.grids->workingDirectory, nullptr} {
        output_.dataFormat = run.output->dataFormat;
        output_.header = run.output->header;
        output_.HeadersWritten();
        // After the headers count as written: the byte-order mark, like the
        // title row, is the file's own stream's to write.
        output_.SetConventions(run.output->Conventions());
        input_.dataFormat = run.input->dataFormat;
        report_.HeadersWritten();
        departureZones_ = ZonesOfSide(run.departure, run.grids->catalogue);
        arrivalZones_ = ZonesOfSide(run.arrival, run.grids->catalogue);
    }

    // The batch's points, those that read the same copies of the current
    // grids together (CompleteFilePoints), then the texts of every line in
    // order.
    void Complete(Batch& batch) {
        for (std::size_t i = 0; i < batch.count;) {
            if (!batch.lines[i].point) {
                ++i;
                continue;
            }
            const GridCopies* grids = batch.lines[i].grids;
            points_.clear();
            std::size_t end = i;
            for (; end < batch.count; ++end) {
                PointLine& line = batch.lines[end];
                if (!line.point) continue;
                if (line.grids != grids) break;
                points_.push_back({&line.departure, &line.arrival, std::move(line.text),
                                   &line.location, {}});
                completed_.push_back(&line);
            }
            Hold(*grids);
            CompleteFilePoints(run_.kind, points_.data(), static_cast<int>(points_.size()),
                               context_, run_.texts, &departureZones_, &arrivalZones_, sources_);
            for (std::size_t k = 0; k < points_.size(); ++k) {
                PointLine& line = *completed_[k];
                line.outcome = points_[k].result.outcome;
                line.text = std::move(points_[k].result.text);
                line.computed = points_[k].result.computed;
            }
            completed_.clear();
            i = end;
        }
        for (std::size_t i = 0; i < batch.count; ++i) Write(batch.lines[i]);
    }

    // The points of the batch's lines, made on this thread as Lire_Point
    // would have made them on the reading one, then their locations.
    void ReadAndLocate(Batch& batch) {
        for (std::size_t i = 0; i < batch.count; ++i) {
            PointLine& line = batch.lines[i];
            if (!line.point) continue;  // refused by the reading
            line.text = run_.input->ReadPointLine(line.raw, line.departure, scratch_);
            line.point = line.text == kResultOk;
        }
        Locate(batch);
    }

    // The grid method's selection and the extent tests read each projected
    // point where its inverse projection puts it: found here for the whole
    // batch, apart from the selection, so that the threads share the work
    // the selection would do on the calling thread, and the inverse
    // projections of several points are computed side by side.
    void Locate(Batch& batch) const {
        double eastings[kBatchLines], northings[kBatchLines];
        ZoneLocation found[kBatchLines];
        std::size_t index[kBatchLines];
        int count = 0;
        const CPrc* projection = nullptr;
        for (std::size_t i = 0; i < batch.count; ++i) {
            const PointLine& line = batch.lines[i];
            if (!line.point || line.departure.type != Projected) continue;
            if (line.departure.sys.projection == nullptr) continue;
            // The run's points share their projection.
            if (projection == nullptr) projection = line.departure.sys.projection;
            if (line.departure.sys.projection != projection) continue;
            eastings[count] = line.departure.easting;
            northings[count] = line.departure.northing;
            index[count++] = i;
        }
        const bool together =
            count > 0 && LocationsOfProjected(*projection, eastings, northings, count, found);
        for (int k = 0; together && k < count; ++k) batch.lines[index[k]].location = found[k];
        for (std::size_t i = 0; i < batch.count; ++i) {
            PointLine& line = batch.lines[i];
            if (line.point && line.departure.type == Projected && !line.location.unprojected)
                line.location = LocationOf(line.departure);
            if (line.point && ConvertsBeforehand(line.departure)) {
                const CCoor& d = line.departure;
                line.location = {ConvertAngle(d.longitude, d.unit, DecimalDegree),
                                 ConvertAngle(d.latitude, d.unit, DecimalDegree), DecimalDegree,
                                 false, true};
            }
        }
    }

    // Whether the extent tests and the grid selection read a geographic
    // departure's angles converted into decimal degrees once, here: for the
    // packed notations, which cost, from Greenwich, when the zones of the
    // departure's system are all in decimal degrees (grids' zones are).
    bool ConvertsBeforehand(const CCoor& departure) const {
        const int unit = departure.unit;
        return departure.type == Geographic && IsGreenwich(departure.sys.meridian) &&
               (unit == PackedDms || unit == PackedHms || unit == PackedDm) &&
               departureZones_.system.unit == DecimalDegree;
    }

private:
    // The current grids as the point's selection left them.
    void Hold(const GridCopies& grids) {
        if (grids.selection == held_) return;
        held_ = grids.selection;
        vertical_ = grids.vertical;
        translation_ = grids.translation;
    }

    // The bytes of a completed line: its log entry, output line and report line.
    void Write(PointLine& line) {
        if (line.point && line.computed && run_.log)
            line.log = LogEntry(line.departure, line.arrival, run_.kind);
        output_.Ecrire_Point(line.departure, line.arrival, run_.kind, line.text,
                             run_.linearAlteration, line.number);
        output_.TakeBuffered(line.output);
        if (run_.report) {
            report_.Ecrire_Rapport(line.departure, line.arrival, input_, output_, run_.kind,
                                   line.text, line.number);
            report_.TakeBuffered(line.report);
        }
    }

    const PointLineRun& run_;
    CGrille1D vertical_;
    CGrille3D translation_;
    long long held_ = 0;  // the selection that vertical_ and translation_ copy
    GridContext context_;
    SideZones departureZones_, arrivalZones_;  // of the two sides' systems
    In_Fic input_;  // not open: the input's layout for the report lines
    Out_Fic output_, report_;
    std::string scratch_;  // the work space of ReadPointLine
    std::vector<FilePointOfBatch> points_;  // of the points being completed
    std::vector<PointLine*> completed_;     // their lines
    std::vector<CCoor> sources_;            // the chains' working points
};

// A batch's next step, handed to whichever thread is free.
struct BatchJob {
    long long sequence;
    BatchStage after;  // the stage the batch reaches once done: Located or Done
    bool whole = false;  // located then completed at once: nothing to select
};

class Pipeline {
public:
    explicit Pipeline(const PointLineRun& run)
        : run_(run),
          threads_(std::clamp(run.threads, 1, kMostThreads)),
          // One batch at a time on one thread; otherwise enough that every
          // thread has one while others wait to be selected or written.
          ring_(threads_ == 1 ? 1 : static_cast<std::size_t>(4 * threads_ + 4)),
          own_(run),
          selects_(SelectsGrids(run)) {}

    ~Pipeline() { StopThreads(); }

    // The calling thread reads the batches, selects their grids in the
    // file's order and writes them in the same order; between these steps,
    // and while it waits for one, any thread locates and completes them.
    PointLineCounts Run() {
        for (int i = 1; i < threads_; ++i) threads_list_.emplace_back([this] { Work(); });
        if (!selects_) {
            // Every point reads the current grids as the run found them.
            grids_ = std::make_shared<const GridCopies>(
                GridCopies{run_.grids->verticalGrid, run_.grids->translationGrid, ++selections_});
        }
        long long read = 0, selected = 0, written = 0;  // batches
        bool reading = true;
        bool writing = true;
        while (writing) {
            if (selected < read && StageOf(selected) >= BatchStage::Located) {
                Batch& batch = Slot(selected);
                if (!Select(batch)) {
                    // The run stops before the point whose grid could not
                    // be loaded, as on one thread: the batches read after
                    // it are dropped.
                    reading = false;
                    read = selected + 1;
                }
                if (batch.count > 0) {
                    Submit(selected, BatchStage::Selected, BatchStage::Done);
                    ++selected;
                } else {
                    read = selected;
                }
            } else if (reading && read - written < static_cast<long long>(ring_.size())) {
                Batch& batch = Slot(read);
                reading = Fill(batch);
                if (batch.count > 0) {
                    if (selects_) {
                        Submit(read, BatchStage::Read, BatchStage::Located);
                    } else {
                        batch.grids.push_back(grids_);
                        for (std::size_t i = 0; i < batch.count; ++i)
                            batch.lines[i].grids = grids_.get();
                        Submit(read, BatchStage::Read, BatchStage::Done, true);
                        selected = read + 1;
                    }
                    ++read;
                }
            } else if (written < selected) {
                writing = Write(WaitFor(written++, BatchStage::Done));
            } else if (selected < read) {
                WaitFor(selected, BatchStage::Located);
            } else {
                break;  // nothing read, nothing left
            }
        }
        StopThreads();
        if (writing && !gridFailure_.empty()) {
            counts_.end = PointLinesEnd::GridNotLoaded;
            counts_.message = gridFailure_;
        } else if (writing && cancelled_) {
            counts_.end = PointLinesEnd::Cancelled;
        }
        return counts_;
    }

private:
    Batch& Slot(long long sequence) { return ring_[static_cast<std::size_t>(sequence) % ring_.size()]; }

    BatchStage StageOf(long long sequence) {
        std::lock_guard<std::mutex> lock(mutex_);
        return Slot(sequence).stage;
    }
    void SetStage(Batch& batch, BatchStage stage) {
        std::lock_guard<std::mutex> lock(mutex_);
        batch.stage = stage;
    }

    // Reads lines into the batch until it is full; false once the input has
    // ended.
    bool Fill(Batch& batch) {
        batch.count = 0;
        batch.grids.clear();
        SetStage(batch, BatchStage::Read);
        In_Fic& input = *run_.input;
        while (batch.count < kBatchLines) {
            PointLine& line = batch.lines[batch.count];
            line.departure = run_.departure;
            line.arrival = run_.arrival;
            if (run_.lineRead && !run_.lineRead()) {
                cancelled_ = true;
                return false;
            }
            // The point of a line that may be one is made by whichever
            // thread locates the batch (ReadAndLocate).
            std::string_view read;
            std::string text;
            const bool mayBePoint = input.NextPointLine(read, text);
            if (!mayBePoint) {
                if (text == kResultEnd) return false;
                if (text == kResultComment || text == kResultBlankLine) continue;
            }
            line.number = input.LineNumber();
            if (mayBePoint) {
                line.raw.assign(read);
            } else {
                line.raw.clear();
            }
            line.point = mayBePoint;  // until its point is made
            line.outcome = PointOutcome::Succeeded;
            line.computed = false;
            line.location.unprojected = false;
            line.text = std::move(text);
            ++batch.count;
        }
        return true;
    }

    // The grid selections of the batch's points, in order, with the loading
    // of the grids they choose; false, the batch cut before the point, when
    // a grid could not be loaded.
    bool Select(Batch& batch) {
        for (std::size_t i = 0; i < batch.count; ++i) {
            PointLine& line = batch.lines[i];
            if (!line.point) continue;
            std::string failure;
            bool changed = false;
            line.text = SelectPointGrids(run_.kind, line.departure, line.arrival, *run_.grids,
                                         run_.texts, run_.ui, failure, &changed, &line.location);
            if (!failure.empty()) {
                gridFailure_ = std::move(failure);
                batch.count = i;
                return false;
            }
            if (changed || !grids_) {
                grids_ = std::make_shared<const GridCopies>(GridCopies{
                    run_.grids->verticalGrid, run_.grids->translationGrid, ++selections_});
            }
            if (batch.grids.empty() || batch.grids.back() != grids_) batch.grids.push_back(grids_);
            line.grids = grids_.get();
        }
        return true;
    }

    // Whether the points' grids are selected on the calling thread: for the
    // grid method, and for a standard run whose points carry a vertical
    // value (the vertical grid); otherwise the selection would leave the
    // current grids and every text as they are.
    static bool SelectsGrids(const PointLineRun& run) {
        const CCoor& d = run.departure;
        return run.kind == GridKind || !(d.sys.vertical == nullptr || d.sys.vertical->id == 0 ||
                                         d.verticalKind == NoVertical);
    }

    void Submit(long long sequence, BatchStage now, BatchStage after, bool whole = false) {
        std::lock_guard<std::mutex> lock(mutex_);
        Slot(sequence).stage = now;
        // Locating comes first: the calling thread waits on it to select the
        // grids of the next batch, while a batch waiting to be completed
        // only waits to be written.
        if (after == BatchStage::Located) {
            locateJobs_.push_back({sequence, after});
        } else {
            jobs_.push_back({sequence, after, whole});
        }
        work_.notify_one();
    }

    // Does the oldest job waiting, without the lock that the caller holds.
    void Do(std::unique_lock<std::mutex>& lock, LineCompleter& completer) {
        std::deque<BatchJob>& queue = locateJobs_.empty() ? jobs_ : locateJobs_;
        const BatchJob job = queue.front();
        queue.pop_front();
        Batch& batch = Slot(job.sequence);
        lock.unlock();
        if (job.after == BatchStage::Located) {
            completer.ReadAndLocate(batch);
        } else {
            if (job.whole) completer.ReadAndLocate(batch);
            completer.Complete(batch);
        }
        lock.lock();
        batch.stage = job.after;
        done_.notify_all();
    }

    // Waits until the batch has reached the stage, doing meanwhile on this
    // thread the jobs that no other thread has taken.
    Batch& WaitFor(long long sequence, BatchStage stage) {
        Batch& batch = Slot(sequence);
        std::unique_lock<std::mutex> lock(mutex_);
        while (batch.stage < stage) {
            if (!jobs_.empty() || !locateJobs_.empty()) {
                Do(lock, own_);
            } else {
                done_.wait(lock);
            }
        }
        return batch;
    }

    void Work() {
        LineCompleter completer(run_);
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            work_.wait(lock,
                       [this] { return stopping_ || !jobs_.empty() || !locateJobs_.empty(); });
            if (jobs_.empty() && locateJobs_.empty()) return;  // stopping, nothing left
            Do(lock, completer);
        }
    }

    void StopThreads() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
            jobs_.clear();  // what is not taken yet is not needed any more
            locateJobs_.clear();
        }
        work_.notify_all();
        for (std::thread& thread : threads_list_) thread.join();
        threads_list_.clear();
    }

    // Writes the batch's lines in order; false at the first that a file
    // could not take.
    bool Write(Batch& batch) {
        Out_Fic& output = *run_.output;
        Out_Fic* report = run_.report;
        for (std::size_t i = 0; i < batch.count; ++i) {
            PointLine& line = batch.lines[i];
            if (!line.point) {
                ++counts_.refused;
            } else if (line.outcome == PointOutcome::Succeeded) {
                ++counts_.succeeded;
            } else if (line.outcome == PointOutcome::ComputationFailed) {
                ++counts_.failed;
            } else {
                ++counts_.outOfZone;
            }
            if (line.computed && run_.log) run_.log->Write(line.log);
            const TextConventions& conventions = output.Conventions();
            if (output.lineCount == 0 &&
                (output.header || (conventions.Delimited() && conventions.titleRow))) {
                // The file's own stream writes its header or title row before
                // the first line.
                output.Ecrire_Point(line.departure, line.arrival, run_.kind, line.text,
                                    run_.linearAlteration, line.number);
            } else {
                output.WriteBytes(line.output);
                ++output.lineCount;
            }
            if (report) {
                if (report->lineCount == 0) {
                    report->Ecrire_Rapport(line.departure, line.arrival, *run_.input, output,
                                           run_.kind, line.text, line.number);
                } else {
                    report->WriteBytes(line.report);
                    ++report->lineCount;
                }
            }
            if (output.WriteFailed()) {
                counts_.end = PointLinesEnd::OutputWriteFailed;
                return false;
            }
            if (report && report->WriteFailed()) {
                counts_.end = PointLinesEnd::ReportWriteFailed;
                return false;
            }
        }
        return true;
    }

    const PointLineRun& run_;
    const int threads_;
    std::vector<Batch> ring_;
    LineCompleter own_;  // the calling thread's
    std::vector<std::thread> threads_list_;
    const bool selects_;                       // SelectsGrids
    std::shared_ptr<const GridCopies> grids_;  // the copies of the last selection
    long long selections_ = 0;                 // copies made
    std::string gridFailure_;
    bool cancelled_ = false;  // by lineRead
    PointLineCounts counts_;

    std::mutex mutex_;
    std::condition_variable work_, done_;
    std::deque<BatchJob> jobs_;        // completions, in the order they were handed over
    std::deque<BatchJob> locateJobs_;  // locations, taken before any completion
    bool stopping_ = false;
};

}  // namespace

int DefaultRunThreads() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(std::min<unsigned>(cores, kMostThreads));
}

int RunThreads(int configured) {
    return configured <= 0 ? DefaultRunThreads() : std::min(configured, kMostThreads);
}

PointLineCounts RunPointLines(const PointLineRun& run) {
    Pipeline pipeline(run);
    return pipeline.Run();
}
