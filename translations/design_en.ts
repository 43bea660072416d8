<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>design</name>
    <message>
        <source>程序名</source>
        <translation>Program name</translation>
    </message>
    <message>
        <source>当前文件：</source>
        <translation>Current file:</translation>
    </message>
    <message>
        <source>照片目录</source>
        <translation>Photos in this folder</translation>
    </message>
    <message>
        <source>打开照片文件</source>
        <translation>Open photo</translation>
    </message>
    <message>
        <source>照片文件EXIF信息</source>
        <translation>EXIF information of the photo file</translation>
    </message>
    <message>
        <source>向左旋转照片</source>
        <translation>Rotate the photo left</translation>
    </message>
    <message>
        <source>旋转照片</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>向右旋转照片</source>
        <translation>Rotate the photo right</translation>
    </message>
    <message>
        <source>设置标题字体</source>
        <translation>Set the title font</translation>
    </message>
    <message>
        <source>标题字体</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>设置日期字体</source>
        <translation>Set the date font</translation>
    </message>
    <message>
        <source>日期字体</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>缩小文字</source>
        <translation>Make the text smaller</translation>
    </message>
    <message>
        <source>小</source>
        <translation>−</translation>
    </message>
    <message>
        <source>大小</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>增大文字</source>
        <translation>Make the text larger</translation>
    </message>
    <message>
        <source>大</source>
        <translation>+</translation>
    </message>
    <message>
        <source>设置或取消文字粗体</source>
        <translation>Turn bold text on or off</translation>
    </message>
    <message>
        <source>文字粗体</source>
        <translation>Bold</translation>
    </message>
    <message>
        <source>设置或取消文字斜体</source>
        <translation>Turn italic text on or off</translation>
    </message>
    <message>
        <source>文字斜体</source>
        <translation>Italic</translation>
    </message>
    <message>
        <source>设置文字颜色</source>
        <translation>Set the text colour</translation>
    </message>
    <message>
        <source>文字颜色</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>向上移动标题</source>
        <translation>Move the title up</translation>
    </message>
    <message>
        <source>上</source>
        <translation>↑</translation>
    </message>
    <message>
        <source>向左移动标题</source>
        <translation>Move the title left</translation>
    </message>
    <message>
        <source>左</source>
        <translation>←</translation>
    </message>
    <message>
        <source>标题</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>向右移动标题</source>
        <translation>Move the title right</translation>
    </message>
    <message>
        <source>右</source>
        <translation>→</translation>
    </message>
    <message>
        <source>向下移动标题</source>
        <translation>Move the title down</translation>
    </message>
    <message>
        <source>下</source>
        <translation>↓</translation>
    </message>
    <message>
        <source>向上移动日期</source>
        <translation>Move the date up</translation>
    </message>
    <message>
        <source>向左移动日期</source>
        <translation>Move the date left</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>向右移动日期</source>
        <translation>Move the date right</translation>
    </message>
    <message>
        <source>向下移动日期</source>
        <translation>Move the date down</translation>
    </message>
    <message>
        <source>恢复默认设置</source>
        <translation>Restore the default settings</translation>
    </message>
    <message>
        <source>默认设置</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>关于 …</source>
        <translation>About…</translation>
    </message>
    <message>
        <source>连接软件主页</source>
        <translation>Go to the program's home page</translation>
    </message>
    <message>
        <source>软件主页</source>
        <translation>Website</translation>
    </message>
    <message>
        <source>添加拍照日期</source>
        <translation>Add date</translation>
    </message>
    <message>
        <source>添加标题:</source>
        <translation>Add title:</translation>
    </message>
    <message>
        <source>标题文字</source>
        <translation>Title text</translation>
    </message>
    <message>
        <source>照片另存为</source>
        <translation>Save the photo as</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>打印照片</source>
        <translation>Print the photo</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>Minimise</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
</TS>
