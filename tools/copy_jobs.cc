#include "tools/copy_jobs.h"

#include <cstdio>
#include <utility>

namespace zepo {

struct CopyJobs::Job {
  Job(Work work, std::string shown) : work(std::move(work)), shown(std::move(shown)) {}

  Work work;
  std::string shown;  // a copy's line
  bool finished = false;
  std::exception_ptr error;
};

CopyJobs::CopyJobs(Platform& own, std::vector<std::unique_ptr<Platform>> workers)
    : own_(own), workers_(std::move(workers)) {
  for (std::unique_ptr<Platform>& platform : workers_)
    threads_.emplace_back([this, &platform] { serve(*platform); });
}

CopyJobs::~CopyJobs() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ending_ = true;
    surveys_.clear();
    copies_.clear();
  }
  queued_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

void CopyJobs::serve(Platform& platform) {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    queued_.wait(lock, [&] { return ending_ || !surveys_.empty() || !copies_.empty(); });
    if (ending_) return;
    std::deque<std::shared_ptr<Job>>& queue = surveys_.empty() ? copies_ : surveys_;
    std::shared_ptr<Job> job = std::move(queue.front());
    queue.pop_front();
    ++running_;
    lock.unlock();
    run(*job, platform);
    lock.lock();
    --running_;
    finished(*job);
  }
}

void CopyJobs::run(Job& job, Platform& platform) {
  try {
    job.work(platform);
  } catch (...) {
    job.error = std::current_exception();
  }
  job.work = nullptr;
}

void CopyJobs::finished(Job& job) {
  job.finished = true;
  while (!failure_ && !unreported_.empty() && unreported_.front()->finished) {
    const Job& first = *unreported_.front();
    // The file whose copy failed is named too, as it was being copied.
    std::printf("%s\n", first.shown.c_str());
    if (first.error) {
      failure_ = first.error;
      copies_.clear();
      unreported_.clear();
      break;
    }
    ++copied_;
    unreported_.pop_front();
  }
  progress_.notify_all();
}

void CopyJobs::throwIfStopped() {
  if (failure_) throw Stopped{};
}

void CopyJobs::copy(std::string shown, Work work) {
  auto job = std::make_shared<Job>(std::move(work), std::move(shown));
  std::unique_lock<std::mutex> lock(mutex_);
  if (workers_.empty()) {
    throwIfStopped();
    unreported_.push_back(job);
    lock.unlock();
    run(*job, own_);
    lock.lock();
    finished(*job);
    return;
  }
  // A short queue: the walk hands over a folder's files soon after its
  // survey, while what that looked up on a share is still fresh.
  progress_.wait(lock, [&] { return failure_ || copies_.size() < 2 * workers_.size(); });
  throwIfStopped();
  copies_.push_back(job);
  unreported_.push_back(std::move(job));
  queued_.notify_one();
}

std::shared_ptr<CopyJobs::Job> CopyJobs::survey(Work work) {
  auto job = std::make_shared<Job>(std::move(work), "");
  if (!workers_.empty()) {
    std::lock_guard<std::mutex> lock(mutex_);
    surveys_.push_back(job);
    queued_.notify_one();
  }
  return job;
}

void CopyJobs::wait(const std::shared_ptr<Job>& survey) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (workers_.empty()) {
    throwIfStopped();
    if (!survey->finished) {
      run(*survey, own_);
      survey->finished = true;
    }
  } else {
    progress_.wait(lock, [&] { return failure_ || survey->finished; });
    throwIfStopped();
  }
  if (survey->error) std::rethrow_exception(survey->error);
}

void CopyJobs::settle() {
  std::unique_lock<std::mutex> lock(mutex_);
  progress_.wait(lock, [&] { return failure_ || unreported_.empty(); });
  throwIfStopped();
}

std::exception_ptr CopyJobs::finish() {
  std::unique_lock<std::mutex> lock(mutex_);
  surveys_.clear();
  progress_.wait(lock, [&] { return failure_ || unreported_.empty(); });
  progress_.wait(lock, [&] { return running_ == 0; });
  return failure_;
}

long CopyJobs::copied() {
  std::lock_guard<std::mutex> lock(mutex_);
  return copied_;
}

}  // namespace zepo
