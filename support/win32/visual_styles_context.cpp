#include "support/win32/visual_styles_context.h"

#include "res/manifest_ids.h"
#include "support/win32/program_path.h"
#include "support/win32/windows_ansi.h"

namespace velbrook::win32 {

namespace {

// An activation context made from a manifest resource, active on the thread
// that made it until destruction.
class ActiveContext {
  public:
    ActiveContext() {
        const std::string program = ProgramFilePath();
        ACTCTXA request{};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
        request.lpSource = program.c_str();
        request.lpResourceName = MAKEINTRESOURCEA(VELBROOK_VISUAL_STYLES_MANIFEST_ID);
        request.hModule = GetModuleHandleA(nullptr);
        context_ = CreateActCtxA(&request);
        if (context_ == INVALID_HANDLE_VALUE)
            return;
        if (!ActivateActCtx(context_, &cookie_)) {
            ReleaseActCtx(context_);
            context_ = INVALID_HANDLE_VALUE;
        }
    }
    ActiveContext(const ActiveContext&) = delete;
    ActiveContext& operator=(const ActiveContext&) = delete;
    ~ActiveContext() {
        if (context_ == INVALID_HANDLE_VALUE)
            return;
        DeactivateActCtx(0, cookie_);
        ReleaseActCtx(context_);
    }

  private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

} // namespace

void UseVisualStyles() {
    static const ActiveContext context;
}

} // namespace velbrook::win32
