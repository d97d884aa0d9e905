#include "support/win32/folder_autocomplete.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <shldisp.h>
#include <shlobj.h>

#include "support/folder_completion.h"
#include "support/win32/handles.h"
#include "support/win32/shell.h"
#include "support/win32/wide_text.h"

namespace velbrook::win32 {
namespace {

// Longer than any local folder takes to list.
constexpr DWORD kListingLimitMs = 1500;

struct Listing {
    std::string typed;
    std::vector<std::string> found;
    KernelObject done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

DWORD WINAPI ListFolders(void* context) {
    const std::unique_ptr<std::shared_ptr<Listing>> ticket(
        static_cast<std::shared_ptr<Listing>*>(context));
    Listing& listing = **ticket;
    try {
        listing.found = FolderCompletions(listing.typed);
    } catch (...) {
        listing.found.clear();
    }
    SetEvent(listing.done.get());
    return 0;
}

// The completions of typed text, or none when the listing takes too long.
std::vector<std::string> CompletionsInTime(const std::string& typed) {
    auto listing = std::make_shared<Listing>();
    listing->typed = typed;
    auto ticket = std::make_unique<std::shared_ptr<Listing>>(listing);
    if (!listing->done || !QueueUserWorkItem(ListFolders, ticket.get(), WT_EXECUTELONGFUNCTION))
        return {};
    ticket.release();
    if (WaitForSingleObject(listing->done.get(), kListingLimitMs) != WAIT_OBJECT_0)
        return {};
    return std::move(listing->found);
}

// The strings the autocomplete object offers: IACList::Expand gets the text
// up to its last backslash, and the list then holds that folder's subfolders.
class FolderList final : public IEnumString, public IACList {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IEnumString)
            *object = static_cast<IEnumString*>(this);
        else if (iid == IID_IACList)
            *object = static_cast<IACList*>(this);
        else
            *object = nullptr;
        if (*object == nullptr)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE Expand(LPCWSTR folder) override {
        strings_.clear();
        next_ = 0;
        const std::optional<std::string> typed =
            folder != nullptr ? AnsiFromWide(folder) : std::nullopt;
        if (typed) {
            for (const std::string& completion : CompletionsInTime(*typed))
                strings_.push_back(WideFromAnsi(completion));
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, LPOLESTR* strings, ULONG* fetched) override {
        ULONG given = 0;
        for (; given < count && next_ < strings_.size(); ++given, ++next_) {
            const std::wstring& text = strings_[next_];
            const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
            strings[given] = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
            if (strings[given] == nullptr)
                break;
            CopyMemory(strings[given], text.c_str(), bytes);
        }
        if (fetched != nullptr)
            *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        next_ = std::min<std::size_t>(next_ + count, strings_.size());
        return next_ < strings_.size() ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumString** copy) override {
        if (copy != nullptr)
            *copy = nullptr;
        return E_NOTIMPL;
    }

  private:
    LONG references_ = 1;
    std::vector<std::wstring> strings_;
    std::size_t next_ = 0;
};

} // namespace

void OfferFolderCompletion(HWND edit) {
    PrepareShell();
    IAutoComplete2* object = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AutoComplete, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAutoComplete2, reinterpret_cast<void**>(&object))))
        return;
    const ComRef<IAutoComplete2> completion(object);
    const ComRef<IEnumString> folders(new FolderList);
    completion->SetOptions(ACO_AUTOSUGGEST);
    completion->Init(edit, folders.get(), nullptr, nullptr);
}

} // namespace velbrook::win32
