// The launch plan: any item path and context give a plan that can be carried out as it
// stands: something to run when it runs something, parameters only when it has them.
#include "menu/portable/launch_plan.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    const bool marker = in.ConsumeIntegralInRange<int>(0, 7) == 0;
    const bool runAs = in.ConsumeBool();
    std::u16string folders[8];
    for (std::u16string &folder : folders)
        folder = in.Text(40);
    // Keywords are what item paths mostly are; let the fuzzer start from one.
    std::u16string path = in.ConsumeBool() ? u"*" : u"";
    path += in.RestAsText();
    const TLaunchContext context{folders[0], folders[1], folders[2], folders[3],
                                 folders[4], folders[5], folders[6], folders[7]};

    const TLaunchPlan plan = PlanLaunch(path, marker, runAs, context);
    if (marker || path.empty()) {
        FUZZ_CHECK(plan.kind == TLaunchKind::Nothing && !plan.closesMenu);
        return 0;
    }
    FUZZ_CHECK(plan.closesMenu == (plan.kind != TLaunchKind::FocusSearchBox));
    FUZZ_CHECK(plan.hasParameters || plan.parameters.empty());
    FUZZ_CHECK(plan.show == kShowNormal || plan.show == kShowDefault);
    FUZZ_CHECK(plan.verb.empty() || plan.verb == u"runas");
    if (plan.kind == TLaunchKind::ShellExecute) {
        FUZZ_CHECK(!plan.file.empty());
        if (path[0] != u'*' && path[0] != u'{')
            FUZZ_CHECK(plan.file == path && plan.verb.empty() && !plan.hasParameters);
    } else {
        FUZZ_CHECK(plan.file.empty() && !plan.hasParameters);
    }
    if (path[0] != u'*')
        FUZZ_CHECK(plan.kind == TLaunchKind::ShellExecute);
    return 0;
}
