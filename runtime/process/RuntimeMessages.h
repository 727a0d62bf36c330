// The texts of the runtime's error box, in code page 936. Users read them
// word for word, and the release guide quotes every one: they live here only.
#pragma once

namespace RuntimeMessage {

// The box itself: its caption, its first line, the labels of the code and
// message lines, and the lines that say a named window or component is gone.
constexpr char kCaption[] = "错误";
constexpr char kHeading[] = "运行时出错!";
constexpr char kCodeLabel[] = "错误代码：";
constexpr char kMessageLabel[] = "错误信息：";
constexpr char kNoSuchWindow[] = "未找到所指定的窗口";
constexpr char kNoSuchComponent[] = "未找到所指定的窗口组件";

// Errors of the runtime itself (code 0); "%d" and "%s" are filled in.
constexpr char kDescriptionUnreadable[] = "载入窗口模板数据段出错!";
constexpr char kStartWindowNotLoaded[] = "载入启动窗口失败";
constexpr char kAllocationFailed[] = "分配 %d 字节内存失败!";
constexpr char kExportMissing[] = "无法找到指定DLL库文件中的输出命令“%s”";
constexpr char kExportMissingFromDll[] = "无法找到指定DLL库文件“%s”中的输出命令“%s”";
constexpr char kEventWindowUnknown[] = "未找到引发事件的窗口";
constexpr char kEventComponentUnknown[] = "未找到引发事件的窗口组件";
constexpr char kEventComponentInvalid[] = "引发事件的窗口组件无效";
constexpr char kWindowOrComponentGone[] = "指定窗口或窗口组件不存在或尚未载入";
constexpr char kWindowOfComponentNotLoaded[] = "未载入欲访问窗口组件所在的窗口";
constexpr char kReadWindowNotLoaded[] = "读取组件属性时发现指定窗口尚未载入";
constexpr char kWriteWindowNotLoaded[] = "修改组件属性时发现指定窗口尚未载入";
constexpr char kDataTypeInvalid[] = "“欲取出数据的类型”参数值无效";
constexpr char kDivideByZero[] = "不能整除于零";
constexpr char kRemainderByZero[] = "不能求余数于零";

// Numbered errors: error n (its code in the box) is element n - 1.
constexpr const char* kNumbered[] = {
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};

// Every text above that can stand on the box's message line.
constexpr const char* kAllUnnumbered[] = {
    kDescriptionUnreadable, kStartWindowNotLoaded,
    kAllocationFailed,      kExportMissing,
    kExportMissingFromDll,  kEventWindowUnknown,
    kEventComponentUnknown, kEventComponentInvalid,
    kWindowOrComponentGone, kWindowOfComponentNotLoaded,
    kReadWindowNotLoaded,   kWriteWindowNotLoaded,
    kDataTypeInvalid,       kDivideByZero,
    kRemainderByZero,
};

}  // namespace RuntimeMessage
