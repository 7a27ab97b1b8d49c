// Whether SDL's accelerated renderer would run on a graphics processor, on
// Windows: the first adapter that Direct3D uses is asked through DXGI. The
// Microsoft Basic Render Driver (what Windows offers without a graphics
// driver, and in many virtual machines) rasterises on the processor.
#include "engine/system/windows_win32.h"

#include <dxgi.h>

#include "engine/screen/renderer_probe.h"

namespace {

// The Basic Render Driver's vendor and device as DXGI reports them.
constexpr UINT kMicrosoftVendor = 0x1414;
constexpr UINT kBasicRenderDevice = 0x8C;

int g_answer = -1;  // -1 unknown, 0 software, 1 accelerated

// 1 when adapter 0 is a graphics processor, 0 when it is a software one;
// 1 as well when DXGI cannot tell (the renderer then decides as before).
int ask_dxgi() {
  HMODULE dxgi = LoadLibraryW(L"dxgi.dll");
  if (!dxgi) return 1;
  using CreateFactory = HRESULT(WINAPI*)(REFIID, void**);
  auto create = reinterpret_cast<CreateFactory>(reinterpret_cast<void*>(GetProcAddress(dxgi, "CreateDXGIFactory1")));
  int answer = 1;
  IDXGIFactory1* factory = nullptr;
  if (create && SUCCEEDED(create(__uuidof(IDXGIFactory1), reinterpret_cast<void**>(&factory))) && factory) {
    IDXGIAdapter1* adapter = nullptr;
    if (SUCCEEDED(factory->EnumAdapters1(0, &adapter)) && adapter) {
      DXGI_ADAPTER_DESC1 desc;
      if (SUCCEEDED(adapter->GetDesc1(&desc))) {
        const bool basic = desc.VendorId == kMicrosoftVendor && desc.DeviceId == kBasicRenderDevice;
        if ((desc.Flags & DXGI_ADAPTER_FLAG_SOFTWARE) != 0 || basic) answer = 0;
      }
      adapter->Release();
    }
    factory->Release();
  }
  FreeLibrary(dxgi);
  return answer;
}

}  // namespace

void renderer_probe_start() {}

bool renderer_probe_accelerated() {
  if (g_answer < 0) g_answer = ask_dxgi();
  return g_answer == 1;
}

void renderer_probe_stop() { g_answer = -1; }
