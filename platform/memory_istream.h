#pragma once
// An IStream over a TMemoryStream: either one the stream owns (a response
// body handed to the browser) or one the caller keeps (a capture target).
#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/com_object.h"
#include "shared/util/memory_stream.h"

namespace vantrel {

class TMemoryIStream final : public TComObject<IStream> {
 public:
  // Takes the bytes over; the stream owns them.
  static ComPtr<IStream> Owning(TMemoryStream bytes) {
    auto* stream = new TMemoryIStream(nullptr);
    stream->owned_ = std::make_unique<TMemoryStream>(std::move(bytes));
    stream->target_ = stream->owned_.get();
    stream->target_->SetPosition(0);
    return ComPtr<IStream>::Attach(stream);
  }
  // Works on the caller's stream, which must outlive this object.
  static ComPtr<IStream> Borrowing(TMemoryStream& target) {
    return ComPtr<IStream>::Attach(new TMemoryIStream(&target));
  }

  HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* read) override {
    if (!buffer) return E_POINTER;
    const size_t got = target_->Read(buffer, size);
    if (read) *read = static_cast<ULONG>(got);
    return got < size ? S_FALSE : S_OK;
  }
  HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG size, ULONG* written) override {
    if (!buffer) return E_POINTER;
    target_->Write(buffer, size);
    if (written) *written = size;
    return S_OK;
  }

#ifdef _WIN32
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override {
    int64_t base = 0;
    if (origin == STREAM_SEEK_CUR) base = static_cast<int64_t>(target_->Position());
    else if (origin == STREAM_SEEK_END) base = static_cast<int64_t>(target_->Size());
    else if (origin != STREAM_SEEK_SET) return STG_E_INVALIDFUNCTION;
    const int64_t to = base + move.QuadPart;
    if (to < 0) return STG_E_INVALIDFUNCTION;
    target_->SetPosition(static_cast<size_t>(to));
    if (position) position->QuadPart = static_cast<ULONGLONG>(to);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CopyTo(IStream* to, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                                   ULARGE_INTEGER* written) override {
    if (!to) return E_POINTER;
    const size_t position = target_->Position();
    const size_t available = position < target_->Size() ? target_->Size() - position : 0;
    const ULONG n = static_cast<ULONG>(std::min<ULONGLONG>(count.QuadPart, available));
    ULONG done = 0;
    const HRESULT hr = to->Write(target_->Data() + position, n, &done);
    target_->SetPosition(position + done);
    if (read) read->QuadPart = n;
    if (written) written->QuadPart = done;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
    if (!stat) return E_POINTER;
    std::memset(stat, 0, sizeof *stat);
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = target_->Size();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }
#endif

 private:
  explicit TMemoryIStream(TMemoryStream* target) : target_(target) {}
  std::unique_ptr<TMemoryStream> owned_;
  TMemoryStream* target_;
};

}  // namespace vantrel
