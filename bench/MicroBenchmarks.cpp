// Google Benchmark measurements of the per-line and per-folder work of a run: the recognition
// of old item lines, the filter identifiers and the SHA-1 behind them. Run by hand:
//
//   build/bench/TamrivoMicroBenchmarks [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "crypto/FilterIdentifier.h"
#include "crypto/HashSha1.h"
#include "project/ProjectItemLines.h"

namespace {

// One-line file items as a large project holds them, of several lengths and kinds.
const std::vector<std::string> kItemLines = {
    R"(    <ClCompile Include="..\..\Src\App\Hal\CanTp\Adc\Adc_Priv.c" />)",
    R"(    <ClInclude Include="..\..\Src\Bsw\Com\Com_Cbk.h" />)",
    R"(    <None Include="..\..\Src\Mcal\Make\Mcal_Rules.mak" />)",
    R"(    <ClCompile Include="..\..\Src\Services\WdgM\TcpIp_2\Config\Uart\Crc\Crc_PBcfg.cpp" />)",
    R"(    <ClInclude Include="..\..\Src\Rte\Rte_Type.hpp" />)",
    R"(    <None Include="..\..\Src\Boot\Gpt\Wdg\BswM\Wdg\Fls\Fls_Cfg.xdm" />)",
};

// The other lines: settings, group and element lines, items with child elements.
const std::vector<std::string> kOtherLines = {
    "  <ItemGroup>",
    "  </ItemGroup>",
    R"(    <ClCompile Include="..\..\Src\App\Main.c">)",
    R"(      <ExcludedFromBuild Condition="'$(Configuration)|$(Platform)'=='Debug_EcuA|x64'">true</ExcludedFromBuild>)",
    "    </ClCompile>",
    "      <WarningLevel>Level4</WarningLevel>",
    "      "
    "<PreprocessorDefinitions>ECU_A;DEBUG;%(PreprocessorDefinitions)</PreprocessorDefinitions>",
    R"(      <AdditionalIncludeDirectories>..\..\Src\App;..\..\Src\App\Hal;..\..\Src\Bsw;..\..\Src\Bsw\Com;..\..\Src\Mcal;..\..\Src\Rte;%(AdditionalIncludeDirectories)</AdditionalIncludeDirectories>)",
    R"(  <Import Project="$(VCTargetsPath)\Microsoft.Cpp.targets" />)",
    R"(    <ProjectConfiguration Include="Debug_EcuA|Win32">)",
};

// Lines per second through MatchItemLine, cycling through the given lines.
void MatchLines(benchmark::State& state, const std::vector<std::string>& lines, bool expectMatch) {
    std::string value;
    std::size_t next = 0;
    for (auto _ : state) {
        const bool matched = tamrivo::MatchItemLine(lines[next], value);
        benchmark::DoNotOptimize(matched);
        if (matched != expectMatch) {
            state.SkipWithError("a line was recognised wrongly");
            break;
        }
        next = next + 1 == lines.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void BM_MatchItemLine_ItemLines(benchmark::State& state) {
    MatchLines(state, kItemLines, true);
}
BENCHMARK(BM_MatchItemLine_ItemLines);

void BM_MatchItemLine_OtherLines(benchmark::State& state) {
    MatchLines(state, kOtherLines, false);
}
BENCHMARK(BM_MatchItemLine_OtherLines);

// Calls per second, the wait for the steady clock to move on included.
void BM_NewFilterIdentifier(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(tamrivo::NewFilterIdentifier());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_NewFilterIdentifier);

// The same without reading the clocks: the fresh MT19937 and the SHA-1 of one block.
void BM_FilterIdentifierFromClocks(benchmark::State& state) {
    std::int64_t steady = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            tamrivo::FilterIdentifierFromClocks(steady, static_cast<std::uint32_t>(steady)));
        ++steady;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_FilterIdentifierFromClocks);

// Bytes per second through update, padding and the digest, for messages of range(0) bytes.
void BM_Sha1(benchmark::State& state) {
    const std::vector<unsigned char> message(static_cast<std::size_t>(state.range(0)), 0xA5);
    mz::crypto::stream::hash::hash_sha1 hash;
    for (auto _ : state) {
        hash.reset();
        hash.update(message.data(), message.size());
        benchmark::DoNotOptimize(hash.finish());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(message.size()));
}
BENCHMARK(BM_Sha1)->Arg(12)->Arg(64)->Arg(4096)->Arg(1 << 20);

}  // namespace

BENCHMARK_MAIN();
